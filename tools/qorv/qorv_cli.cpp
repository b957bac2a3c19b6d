// The command line: `qorv build MANIFEST -o setup.exe [--engine quorvex.exe] [--level N]
// [--quiet]` and `qorv inspect setup.exe`.
#include <CLI/CLI.hpp>

#include "tools/codec/block_encoder.h"
#include "tools/qorv/qorv_commands.h"

int RunQorv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool errIsTerminal) {
  CLI::App app("qorv: builds Quorvex installers from a manifest and inspects them", "qorv");
  app.require_subcommand(1);

  BuildOptions build;
  CLI::App* buildCommand = app.add_subcommand("build", "build an installer from a TOML manifest");
  buildCommand->add_option("manifest", build.manifest, "the product manifest (qorv.toml)")->required();
  buildCommand->add_option("-o,--output", build.output, "the installer to write (setup.exe)")->required();
  buildCommand->add_option("--engine", build.engine,
                           "the engine program (default: quorvex.exe next to qorv)");
  buildCommand->add_option("--level", build.level, "compression level, 1 (fastest) to 9 (smallest)")
      ->check(CLI::Range(kFastestLevel, kSmallestLevel));
  bool quiet = false;
  buildCommand->add_flag("-q,--quiet", quiet, "show no progress while encoding");

  std::string installer;
  CLI::App* inspectCommand = app.add_subcommand("inspect", "check an installer and list what it holds");
  inspectCommand->add_option("installer", installer, "the installer (setup.exe)")->required();

  std::vector<std::string> rest(args.rbegin(), args.rend() - (args.empty() ? 0 : 1));
  try {
    app.parse(rest);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kQorvSuccess : kQorvUsage;
  }
  if (buildCommand->parsed()) {
    build.progress = quiet           ? ProgressStyle::kNone
                     : errIsTerminal ? ProgressStyle::kTerminal
                                     : ProgressStyle::kLines;
    return RunBuild(build, out, err);
  }
  return RunInspect(installer, out, err);
}
