// The manifest's sections, read into an InstallerPlan. Defaults are those a user expects from a
// minimal manifest (a product name and a folder of files): see MANIFEST.md.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "archive/product_flags.h"
#include "config/archive_text.h"
#include "config/formatted_texts.h"
#include "config/language_table.h"
#include "core/checksum.h"
#include "core/date_time.h"
#include "tools/codec/block_encoder.h"
#include "tools/qorv/default_strings.h"
#include "tools/qorv/manifest.h"
#include "tools/qorv/manifest_section.h"
#include "tools/qorv/payload_files.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kDefaultFlags = FlagMask(ProductFlag::kRegisterUninstall) |
                                   FlagMask(ProductFlag::kCompressedData) |
                                   FlagMask(ProductFlag::kChooseDirectory);
constexpr uint32_t kLeaveAttributes = 0xFFFFFFFF;
constexpr uint32_t kAtReboot = 0x2;               // FileDeletion flags
constexpr uint32_t kDefaultVerb = 0x1;            // FileAssociation options
constexpr uint32_t kDefaultTitleColour = 0x00FFFFFF;  // white
constexpr uint32_t kDefaultTopColour = 0x00800000;    // dark blue
constexpr uint32_t kDefaultBottomColour = 0x00000000; // black

String ToString(const std::string& s) { return String(s.data(), int(s.size())); }

// A text the engine shows in a multi-line control or a message box: its line breaks as CR LF,
// the only ones Windows breaks lines at there (a licence file with LF ends would show as one
// run-on line). The rule is the one the engine applies to the string table.
String ShownText(const std::string& s) { return NormalizeLineBreaks(ToString(s)); }

// Refuses more entries under `key` than the engine reads.
void CheckCount(const std::string& file, const toml::node* node, const std::string& key,
                size_t count, size_t limit, const std::string& what) {
  if (count <= limit) return;
  FailAt(file, node,
         key + ": at most " + std::to_string(limit) + " " + what +
             " (the installer's limit), found " + std::to_string(count));
}

// Reading state: the manifest's folder, every file read, the newest file stamp seen.
class ManifestReader {
 public:
  ManifestReader(const std::string& path, LoadedManifest& out)
      : path_(path), folder_(fs::path(path).parent_path()), out_(out) {}

  void Read();

 private:
  std::string Resolve(const std::string& relative) const {
    return (folder_ / fs::path(relative)).lexically_normal().string();
  }
  std::string ReadSource(const std::string& file, const toml::node* at, const std::string& source,
                         const std::string& what);
  void ReadProduct(ManifestSection& product);
  void ReadFlags(ManifestSection& root, bool coloursGiven, bool masterGiven);
  bool ReadBackground(ManifestSection& root);
  void ReadBatch(ManifestSection& root);
  void ReadUninstall(ManifestSection& root);
  void ReadArchive(ManifestSection& root);
  void ReadFiles(ManifestSection& root);
  void ReadDeletions(ManifestSection& root);
  void ReadAssociations(ManifestSection& root);
  void ReadLanguages(ManifestSection& root);
  void ReadStrings(const std::string& file, ManifestSection& strings, std::map<int, std::string>& out);

  struct PendingFile {
    FileEntry entry;
    std::string source;
    bool stampGiven = false;
  };
  void ApplyFileOptions(ManifestSection& file, PendingFile& pending);

  std::string path_;
  fs::path folder_;
  LoadedManifest& out_;
  toml::table root_;
  std::vector<PendingFile> files_;
  std::string productName_;
  FileStamp newest_ = {};
};

std::string ManifestReader::ReadSource(const std::string& file, const toml::node* at,
                                       const std::string& source, const std::string& what) {
  std::string contents, error;
  if (!ReadWholeFile(Resolve(source), contents, error)) {
    FailAt(file, at, what + " " + Resolve(source) + " cannot be read");
  }
  return contents;
}

void ManifestReader::ReadProduct(ManifestSection& product) {
  ArchiveHeader& h = out_.plan.header;
  const toml::node* nameNode = product.Node("name");
  if (nameNode == nullptr) FailAt(path_, product.Raw(), "product.name: missing (the product's name is required)");
  productName_ = product.Text("name");
  if (String(productName_.c_str()).IsBlank()) FailAt(path_, nameNode, "product.name: expected a name that is not blank");
  h.productName = ToString(productName_);
  h.publisher = ToString(product.Text("publisher"));
  h.displayVersion = ToString(product.Text("version"));
  h.defaultInstallDir = ToString(product.Text("install_dir"));
  h.sharedPath = ToString(product.Text("shared_dir"));
  h.productStartMenu = ToString(product.Text("start_menu"));
  h.productRegistry = ToString(product.Text("registry_key"));
  h.masterProduct = ToString(product.Text("master_product"));
  h.desktopFolder = ToString(product.Text("desktop_folder"));
  h.unsupportedSystems = uint32_t(product.NamedSet("unsupported_systems", SystemNames(), 0));
  h.stageDelay = uint16_t(product.Integer("stage_delay", 0, 0, kMaxStageDelay));
  h.shortcutMode = uint8_t(product.Named("shortcut_mode", ShortcutModeNames(), 0));
  for (const char* key : {"licenses", "readmes"}) {
    const toml::node* node = product.Node(key);
    const std::vector<std::string> sources = product.TextList(key);
    CheckCount(path_, node, product.KeyName(key), sources.size(), size_t(kMaxHeaderTexts), "files");
    for (const std::string& source : sources) {
      std::string text, error;
      if (!Utf8ToWindows1252(ReadSource(path_, node, source, product.KeyName(key) + ":"), text, error)) {
        FailAt(path_, node, Resolve(source) + ": " + error);
      }
      (key[0] == 'l' ? h.licenseTexts : h.readmeTexts).Append(ShownText(text));
    }
  }
}

bool ManifestReader::ReadBackground(ManifestSection& root) {
  ManifestSection background(path_, root.Table("background"), "background");
  ArchiveHeader& h = out_.plan.header;
  const bool coloursGiven = background.Has("title_color") || background.Has("top_color") ||
                            background.Has("bottom_color");
  h.titleColor = background.Colour("title_color", kDefaultTitleColour);
  h.topColor = background.Colour("top_color", kDefaultTopColour);
  h.bottomColor = background.Colour("bottom_color", kDefaultBottomColour);
  h.titleShadow = uint8_t(background.Integer("title_shadow", 1, 0, 255));
  if (background.Has("bitmap")) {
    h.backgroundBitmap = ToString(ReadSource(path_, background.Node("bitmap"),
                                             background.Text("bitmap"), "background.bitmap:"));
  }
  background.RejectUnknownKeys();
  return coloursGiven;
}

void ManifestReader::ReadFlags(ManifestSection& root, bool coloursGiven, bool masterGiven) {
  uint64_t flags = kDefaultFlags;
  if (coloursGiven) flags |= FlagMask(ProductFlag::kCustomColours);
  if (masterGiven) flags |= FlagMask(ProductFlag::kExtendsMasterProduct);
  ManifestSection section(path_, root.Table("flags"), "flags");
  for (const auto& [key, node] : section.AllKeys()) {
    if (key == "extra_bits") continue;
    uint64_t mask = 0;
    if (!LookUpName(ProductFlagNames(), key, mask)) {
      FailAt(path_, node, "flags." + key + ": unknown flag name, expected one of " +
                              NameList(ProductFlagNames()) + " or extra_bits");
    }
    if (!node->is_boolean()) {
      FailAt(path_, node, "flags." + key + ": expected true or false");
    }
    flags = node->as_boolean()->get() ? flags | mask : flags & ~mask;
  }
  if (const toml::node* extra = section.Node("extra_bits")) {
    if (!extra->is_integer()) FailAt(path_, extra, "flags.extra_bits: expected an integer");
    flags |= uint64_t(extra->as_integer()->get());
  }
  out_.plan.header.productFlags = flags;
}

void ManifestReader::ReadBatch(ManifestSection& root) {
  ManifestSection batch(path_, root.Table("batch"), "batch");
  ArchiveHeader& h = out_.plan.header;
  h.preInstallBatch = ToString(batch.Text("pre_install"));
  h.postInstallBatch = ToString(batch.Text("post_install"));
  h.finalBatch = ToString(batch.Text("final"));
  h.uninstallBatch1 = ToString(batch.Text("uninstall_1"));
  h.uninstallBatch2 = ToString(batch.Text("uninstall_2"));
  batch.RejectUnknownKeys();
}

void ManifestReader::ReadUninstall(ManifestSection& root) {
  ManifestSection uninstall(path_, root.Table("uninstall"), "uninstall");
  ArchiveHeader& h = out_.plan.header;
  h.uninstallerName = ToString(uninstall.Text("program", "Uninstall " + productName_ + ".exe"));
  h.uninstallSubdir = ToString(uninstall.Text("subdir"));
  h.uninstallKeyName = ToString(uninstall.Text("key_name"));
  FileStamp fallback = newest_;
  int64_t epoch = 0;
  if (fallback.month == 0 && SourceDateEpoch(epoch)) fallback = StampFromUnixTime(epoch);
  h.uninstallerStamp = uninstall.Stamp("stamp", fallback);
  h.uninstallerPatchOffset = uint32_t(uninstall.Integer("patch_offset", 0, 0, 0xFFFFFFFFll));
  if (uninstall.Has("patch_file")) {
    h.uninstallerPatch = ToString(ReadSource(path_, uninstall.Node("patch_file"),
                                             uninstall.Text("patch_file"), "uninstall.patch_file:"));
  }
  if (h.uninstallerPatchOffset > 0 && h.uninstallerPatch.IsEmpty()) {
    FailAt(path_, uninstall.Node("patch_offset"), "uninstall.patch_offset: needs uninstall.patch_file");
  }
  if (const toml::array* values = uninstall.ArrayOfTables("values")) {
    CheckCount(path_, values, uninstall.KeyName("values"), values->size(),
               size_t(kMaxHeaderRecords), "[[uninstall.values]] tables");
    // Sized once: the engine's Vector copies every element when it grows by one.
    h.uninstallValues.SetSize(int(values->size()));
    int index = 0;
    for (const toml::node& node : *values) {
      ManifestSection value(path_, node.as_table(), "uninstall.values[" + std::to_string(index++) + "]");
      UninstallData& data = h.uninstallValues[index - 1];
      if (!value.Has("name")) FailAt(path_, &node, value.KeyName("name") + ": missing");
      data.name = ToString(value.Text("name"));
      data.type = uint8_t(value.Named("type", UninstallValueTypeNames(), 1));
      data.value = ToString(value.Text("value"));
      value.RejectUnknownKeys();
    }
  }
  uninstall.RejectUnknownKeys();
}

void ManifestReader::ReadArchive(ManifestSection& root) {
  ManifestSection archive(path_, root.Table("archive"), "archive");
  ArchiveHeader& h = out_.plan.header;
  InstallerPlan& plan = out_.plan;
  plan.level = int(archive.Integer("level", kSmallestLevel, kFastestLevel, kSmallestLevel));
  plan.volumeSize = uint32_t(archive.Integer("volume_size", 0, 0, 0x7FFFFFFF));
  std::string base = productName_;
  base.erase(std::remove_if(base.begin(), base.end(), [](char c) { return c == ' ' || c == '\t'; }),
             base.end());
  const toml::node* baseNode = archive.Node("volume_base");
  base = archive.Text("volume_base", base);
  if (String(base.c_str()).IsBlank()) FailAt(path_, baseNode, "archive.volume_base: must not be blank");
  h.volumeBase = ToString(base);
  const size_t slash = base.find_last_of("\\/");
  out_.volumeFileBase = slash == std::string::npos ? base : base.substr(slash + 1);
  h.volumeSerial = uint32_t(archive.Integer(
      "volume_serial", ArchiveChecksum(productName_.data(), int(productName_.size())), 0,
      0xFFFFFFFFll));
  h.dataOutsideImage = archive.Bool("data_outside_image", false) ? 1 : 0;
  const std::string reserved = archive.Text("reserved_date");
  if (!reserved.empty()) {
    const toml::node* node = archive.Node("reserved_date");
    if (reserved.size() != 40) FailAt(path_, node, "archive.reserved_date: expected 40 hex digits (20 bytes)");
    for (size_t i = 0; i < 20; ++i) {
      unsigned byte = 0;
      if (std::sscanf(reserved.c_str() + 2 * i, "%2x", &byte) != 1 ||
          !std::isxdigit(static_cast<unsigned char>(reserved[2 * i])) ||
          !std::isxdigit(static_cast<unsigned char>(reserved[2 * i + 1]))) {
        FailAt(path_, node, "archive.reserved_date: expected 40 hex digits (20 bytes)");
      }
      h.reservedDate[i] = uint8_t(byte);
    }
  }
  archive.RejectUnknownKeys();
}

void ManifestReader::ApplyFileOptions(ManifestSection& file, PendingFile& pending) {
  FileEntry& e = pending.entry;
  e.destinationKind = uint32_t(file.Named("kind", DestinationKindNames(), e.destinationKind));
  const uint32_t condition = uint32_t(file.Named("condition", InstallConditionNames(), e.flags & kFileConditionMask));
  if (condition & ~kFileConditionMask) {
    FailAt(path_, file.Node("condition"), file.KeyName("condition") + ": expected one of " +
                                              NameList(InstallConditionNames()));
  }
  e.flags = (e.flags & ~kFileConditionMask) | condition;
  struct FlagKey {
    const char* key;
    uint32_t mask;
  };
  for (const FlagKey& f : {FlagKey{"desktop_shortcut", kFileDesktopShortcut},
                           FlagKey{"start_menu_shortcut", kFileStartMenuShortcut},
                           FlagKey{"keep_on_uninstall", kFileNotRecorded},
                           FlagKey{"to_uninstall_dir", kFileToUninstallDir}}) {
    e.flags = file.Bool(f.key, (e.flags & f.mask) != 0) ? e.flags | f.mask : e.flags & ~f.mask;
  }
  e.flags |= uint32_t(file.Integer("extra_flags", 0, 0, 0xFFFFFFFFll));
  if (const toml::node* attributes = file.Node("attributes")) {
    if (attributes->is_string() && attributes->as_string()->get() == "leave") {
      e.attributes = kLeaveAttributes;
    } else {
      e.attributes = uint32_t(file.NamedSet("attributes", FileAttributeNames(), kLeaveAttributes));
    }
  }
  if (file.Has("stamp")) {
    e.stamp = file.Stamp("stamp", e.stamp);
    pending.stampGiven = true;
  }
  if (file.Has("version") && file.Has("shortcut_name")) {
    FailAt(path_, file.Node("shortcut_name"),
           file.KeyName("shortcut_name") + ": a file has either a version or a shortcut name");
  }
  if (file.Has("version")) e.versionOrShortcutName = ToString(file.Text("version"));
  if (file.Has("shortcut_name")) e.versionOrShortcutName = ToString(file.Text("shortcut_name"));
  if (file.Has("icon")) e.shortcutIcon = ToString(file.Text("icon"));
  if (file.Has("arguments")) e.shortcutArguments = ToString(file.Text("arguments"));
  if (file.Has("destination")) e.destinationText = ToString(file.Text("destination"));
}

void ManifestReader::ReadFiles(ManifestSection& root) {
  ManifestSection defaults(path_, root.Table("files"), "files");
  PendingFile folderDefaults;
  ApplyFileOptions(defaults, folderDefaults);
  if (defaults.Has("folder")) {
    const toml::node* node = defaults.Node("folder");
    std::vector<PayloadFile> listed;
    std::string error;
    if (!ListPayloadFolder(Resolve(defaults.Text("folder")), listed, error)) {
      FailAt(path_, node, "files.folder: " + error);
    }
    for (const PayloadFile& payload : listed) {
      PendingFile pending = folderDefaults;
      pending.entry.name = ToString(payload.archiveName);
      pending.source = payload.path;
      files_.push_back(pending);
    }
  }
  defaults.RejectUnknownKeys();

  if (const toml::array* entries = root.ArrayOfTables("file")) {
    int index = 0;
    for (const toml::node& node : *entries) {
      ManifestSection file(path_, node.as_table(), "file[" + std::to_string(index++) + "]");
      const std::string name = file.Text("name");
      PendingFile* target = nullptr;
      if (file.Has("source")) {
        files_.push_back(folderDefaults);
        target = &files_.back();
        const std::string source = file.Text("source");
        target->source = Resolve(source);
        target->entry.name = ToString(name.empty() ? fs::path(source).filename().string() : name);
      } else {
        if (name.empty()) FailAt(path_, &node, file.KeyName("source") + ": missing (or name a file of files.folder)");
        for (PendingFile& pending : files_) {
          if (name == pending.entry.name.CStr()) target = &pending;
        }
        if (target == nullptr) {
          FailAt(path_, file.Node("name"), file.KeyName("name") + ": no file \"" + name +
                                               "\" in files.folder (give a source to add one)");
        }
      }
      ApplyFileOptions(file, *target);
      file.RejectUnknownKeys();
    }
  }

  // Read every file, in order; stamps from the files unless given.
  out_.fileData.resize(files_.size());
  out_.plan.files.SetSize(int(files_.size()));
  for (size_t i = 0; i < files_.size(); ++i) {
    PendingFile& pending = files_[i];
    std::string error;
    if (!ReadWholeFile(pending.source, out_.fileData[i], error)) throw ManifestError(error);
    if (out_.fileData[i].size() > size_t(kFileLengthLimit)) {
      throw ManifestError(pending.source + ": larger than the archive's limit of 1 GiB per file");
    }
    if (!pending.stampGiven && !FileStampOf(pending.source, pending.entry.stamp, error)) {
      throw ManifestError(error);
    }
    if (FileStamp::Compare(pending.entry.stamp, newest_) > 0) newest_ = pending.entry.stamp;
    FileEntry& entry = out_.plan.files[int(i)];
    entry = pending.entry;
    entry.data = out_.fileData[i].data();
    entry.length = int32_t(out_.fileData[i].size());
  }
}

void ManifestReader::ReadDeletions(ManifestSection& root) {
  const toml::array* entries = root.ArrayOfTables("delete");
  if (entries == nullptr) return;
  CheckCount(path_, entries, "delete", entries->size(), size_t(kMaxDeletionSpecs),
             "[[delete]] tables");
  out_.plan.header.deletionSpecs.SetSize(int(entries->size()));
  int index = 0;
  for (const toml::node& node : *entries) {
    ManifestSection spec(path_, node.as_table(), "delete[" + std::to_string(index++) + "]");
    FileDeletion& deletion = out_.plan.header.deletionSpecs[index - 1];
    if (!spec.Has("files")) FailAt(path_, &node, spec.KeyName("files") + ": missing");
    deletion.specification = ToString(spec.Text("files"));
    if (deletion.specification.Equals(String(kDeletionListEnd))) {
      FailAt(path_, spec.Node("files"),
             spec.KeyName("files") + ": \"" + kDeletionListEnd +
                 "\" ends the installer's list of deletions");
    }
    deletion.condition = uint8_t(spec.Named("condition", DeletionConditionNames(), 0));
    deletion.value = ToString(spec.Text("value"));
    if (deletion.condition >= 1 && deletion.condition <= 3) {
      DateTime date;
      if (!date.Parse(deletion.value, false)) {
        FailAt(path_, spec.Node("value") ? spec.Node("value") : &node,
               spec.KeyName("value") + ": expected a date such as \"12/31/2003\" or \"12/31/2003 23:59:00\"");
      }
    }
    deletion.flags = spec.Bool("at_reboot", false) ? kAtReboot : 0;
    deletion.flags |= uint32_t(spec.Integer("extra_flags", 0, 0, 0xFFFFFFFFll));
    spec.RejectUnknownKeys();
  }
}

void ManifestReader::ReadAssociations(ManifestSection& root) {
  const toml::array* entries = root.ArrayOfTables("association");
  if (entries == nullptr) return;
  CheckCount(path_, entries, "association", entries->size(), size_t(kMaxHeaderRecords),
             "[[association]] tables");
  out_.plan.header.fileAssociations.SetSize(int(entries->size()));
  int index = 0;
  for (const toml::node& node : *entries) {
    ManifestSection a(path_, node.as_table(), "association[" + std::to_string(index++) + "]");
    FileAssociation& association = out_.plan.header.fileAssociations[index - 1];
    if (!a.Has("extension")) FailAt(path_, &node, a.KeyName("extension") + ": missing");
    association.extension = ToString(a.Text("extension"));
    association.fileType = ToString(a.Text("file_type"));
    association.description = ToString(a.Text("description"));
    association.verb = ToString(a.Text("verb", "open"));
    association.verbText = ToString(a.Text("verb_text"));
    association.command = ToString(a.Text("command"));
    association.language = ToString(a.Text("language"));
    association.icon = ToString(a.Text("icon"));
    association.options = a.Bool("default_verb", true) ? kDefaultVerb : 0;
    association.options |= uint32_t(a.Integer("extra_options", 0, 0, 0xFFFFFFFFll));
    a.RejectUnknownKeys();
  }
}

void ManifestReader::ReadStrings(const std::string& file, ManifestSection& strings,
                                 std::map<int, std::string>& out) {
  for (const auto& [key, node] : strings.AllKeys()) {
    char* end = nullptr;
    const long id = std::strtol(key.c_str(), &end, 10);
    if (key.empty() || *end != '\0' || id < 0 || id >= kMaxStringIds) {
      FailAt(file, node, "strings." + key + ": expected a string id from 0 to " +
                             std::to_string(kMaxStringIds - 1));
    }
    if (!node->is_string()) FailAt(file, node, "strings." + key + ": expected a text");
    std::string text, error;
    if (!Utf8ToWindows1252(node->as_string()->get(), text, error)) FailAt(file, node, error);
    // An empty text stands for the engine's built-in one.
    const FormattedTextId* formatted = FindFormattedText(StringId(id));
    if (formatted != nullptr && !text.empty() &&
        !HasConversions(text.c_str(), formatted->conversions)) {
      const std::string expected =
          *formatted->conversions == 0
              ? std::string("no placeholders")
              : std::string("the placeholders ") + formatted->conversions + ", in this order";
      FailAt(file, node,
             "strings." + key + ": string id " + key + " takes " + expected +
                 " (a percent sign is written %%); the engine would show its English "
                 "text instead");
    }
    out[int(id)] = text;
  }
}

void ManifestReader::ReadLanguages(ManifestSection& root) {
  std::map<int, std::string> english;
  for (int id = 0; id < kStringIdCount; ++id) english[id] = DefaultEnglishString(StringId(id));
  ManifestSection strings(path_, root.Table("strings"), "strings");
  ReadStrings(path_, strings, english);

  std::vector<std::string> names = {"English"};
  std::vector<std::map<int, std::string>> tables = {english};
  const toml::node* list = root.Node("languages");
  const std::vector<std::string> sources = root.TextList("languages");
  // The installer stores the count in one byte and reads 1 .. 100 languages.
  CheckCount(path_, list, "languages", sources.size(), size_t(kMaxLanguages) - names.size(),
             "language files (" + std::to_string(kMaxLanguages) + " languages with English)");
  for (const std::string& source : sources) {
    const std::string file = Resolve(source);
    toml::table table;
    try {
      table = toml::parse_file(file);
    } catch (const toml::parse_error& e) {
      if (e.source().begin.line == 0) FailAt(path_, list, "languages: " + file + " cannot be read");
      throw ManifestError(file + ":" + std::to_string(e.source().begin.line) + ":" +
                          std::to_string(e.source().begin.column) + ": " + std::string(e.description()));
    }
    ManifestSection language(file, &table, "");
    const toml::node* nameNode = language.Node("name");
    if (nameNode == nullptr) FailAt(file, nullptr, "name: missing (the language's name)");
    names.push_back(language.Text("name"));
    std::map<int, std::string> texts;
    ManifestSection languageStrings(file, language.Table("strings"), "strings");
    ReadStrings(file, languageStrings, texts);
    tables.push_back(texts);
    language.RejectUnknownKeys();
  }

  int count = 0;
  for (const auto& table : tables) {
    if (!table.empty()) count = std::max(count, table.rbegin()->first + 1);
  }
  LanguageTables& languages = out_.plan.languages;
  for (const std::string& name : names) languages.names.Append(ToString(name));
  languages.texts.SetSize(count);
  for (int id = 0; id < count; ++id) {
    Vector<String>& row = languages.texts[id];
    row.SetSize(int(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
      auto own = tables[i].find(id);
      if (own != tables[i].end()) {
        row[int(i)] = ShownText(own->second);
        continue;
      }
      auto english = tables[0].find(id);  // an id a language leaves out falls back to English
      if (english != tables[0].end()) row[int(i)] = ShownText(english->second);
    }
  }
}

void ManifestReader::Read() {
  try {
    root_ = toml::parse_file(path_);
  } catch (const toml::parse_error& e) {
    if (e.source().begin.line == 0) throw ManifestError(path_ + ": cannot be read");
    throw ManifestError(path_ + ":" + std::to_string(e.source().begin.line) + ":" +
                        std::to_string(e.source().begin.column) + ": " + std::string(e.description()));
  }
  ManifestSection root(path_, &root_, "");
  ManifestSection product(path_, root.Table("product"), "product");
  if (product.Raw() == nullptr) throw ManifestError(path_ + ": the table [product] is missing");
  ReadProduct(product);
  product.RejectUnknownKeys();
  const bool coloursGiven = ReadBackground(root);
  ReadFlags(root, coloursGiven, !out_.plan.header.masterProduct.IsEmpty());
  ReadBatch(root);
  ReadArchive(root);
  ReadFiles(root);
  ReadUninstall(root);  // after the files: the uninstaller's default stamp is the newest file's
  ReadDeletions(root);
  ReadAssociations(root);
  ReadLanguages(root);
  root.RejectUnknownKeys();
}

}  // namespace

bool LoadManifest(const std::string& path, LoadedManifest& out, std::string& error) {
  try {
    ManifestReader(path, out).Read();
    return true;
  } catch (const ManifestError& e) {
    error = e.what();
  } catch (const std::exception& e) {
    error = path + ": " + e.what();
  }
  return false;
}
