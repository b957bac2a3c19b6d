// qorv build: manifest and engine in, installer and volume files out. Every output is written
// under a temporary name in its final folder and renamed only when all of them are complete, so
// a failed build leaves nothing behind.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/archive_writer.h"
#include "tools/qorv/engine_limits.h"
#include "tools/qorv/manifest.h"
#include "tools/qorv/payload_files.h"
#include "tools/qorv/qorv_commands.h"

namespace fs = std::filesystem;

namespace {

std::string DefaultEngine() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("quorvex.exe") : (self.parent_path() / "quorvex.exe").string();
}

struct PendingOutput {
  std::string temporary;
  std::string final;
};

bool WriteBytes(const std::string& path, const String& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.CStr(), bytes.Length());
  file.close();
  return bool(file);
}

void RemoveAll(const std::vector<PendingOutput>& outputs) {
  for (const PendingOutput& output : outputs) std::remove(output.temporary.c_str());
}

}  // namespace

int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err) {
  LoadedManifest manifest;
  std::string error;
  if (!LoadManifest(options.manifest, manifest, error)) {
    err << "qorv build: " << error << "\n";
    return kQorvFailure;
  }
  if (options.level != 0) manifest.plan.level = options.level;

  const std::string enginePath = options.engine.empty() ? DefaultEngine() : options.engine;
  std::string engineBytes;
  if (!ReadWholeFile(enginePath, engineBytes, error)) {
    err << "qorv build: engine " << error << "\n";
    return kQorvFailure;
  }
  // The writer stores whatever it is given (tests build damaged installers with it): the limits
  // the engine checks on the finished parts are checked here.
  const String engineImage(engineBytes.data(), int(engineBytes.size()));
  ArchiveParts parts;
  BuiltInstaller installer;
  String writerError;
  BuildProgress progress(err, options.progress);
  progress.Attach();
  const bool prepared = PrepareArchiveParts(engineImage, manifest.plan, parts, writerError);
  progress.Detach();
  progress.Finish();
  if (!prepared) {
    err << "qorv build: " << enginePath << ": " << writerError.CStr() << "\n";
    return kQorvFailure;
  }
  error = CheckStoredHeader(manifest.plan, parts);
  if (error.empty() && !AssembleInstaller(engineImage, parts, installer, writerError)) {
    err << "qorv build: " << enginePath << ": " << writerError.CStr() << "\n";
    return kQorvFailure;
  }
  if (error.empty()) error = CheckUninstallerPatch(manifest.plan, installer);
  if (!error.empty()) {
    err << "qorv build: " << options.manifest << ": " << error << "\n";
    return kQorvFailure;
  }

  const fs::path output(options.output);
  const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
  std::vector<PendingOutput> outputs;
  auto temporaryFor = [&](const fs::path& final) {
    return (folder / ("." + final.filename().string() + ".qorv-partial")).string();
  };
  for (int i = 0; i < installer.volumes.Count(); ++i) {
    const fs::path final = folder / (manifest.volumeFileBase + std::to_string(i + 2) + ".OWK");
    outputs.push_back({temporaryFor(final), final.string()});
  }
  outputs.push_back({temporaryFor(output), output.string()});

  // A folder made here for the outputs goes again when they cannot be written.
  std::error_code folderError;
  const bool madeFolder = fs::create_directories(folder, folderError);
  auto cleanUp = [&] {
    RemoveAll(outputs);
    if (madeFolder) fs::remove(folder, folderError);
  };
  for (size_t i = 0; i < outputs.size(); ++i) {
    const String& bytes = i + 1 == outputs.size() ? installer.image : installer.volumes[int(i)];
    if (!WriteBytes(outputs[i].temporary, bytes)) {
      err << "qorv build: " << outputs[i].final << " cannot be written\n";
      cleanUp();
      return kQorvFailure;
    }
  }
  for (const PendingOutput& pending : outputs) {
    std::error_code ec;
    fs::rename(pending.temporary, pending.final, ec);
    if (ec) {
      err << "qorv build: " << pending.final << " cannot be written (" << ec.message() << ")\n";
      cleanUp();
      return kQorvFailure;
    }
  }
  out << "wrote " << output.string() << " (" << installer.image.Length() << " bytes, "
      << manifest.plan.files.Count() << " files";
  if (installer.volumes.Count() > 0) out << ", " << installer.volumes.Count() << " more volumes";
  out << ")\n";
  return kQorvSuccess;
}
