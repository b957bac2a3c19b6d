// Typed reading of one TOML table of a manifest: every value is checked for its type and range,
// every failure names the file, line and column of the offending node, and keys nobody asked
// for are reported (a misspelt key must not be ignored silently). Internal to the builder: it
// throws ManifestError, which LoadManifest turns into its error text.
#pragma once

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <toml++/toml.h>

#include "core/file_stamp.h"
#include "tools/qorv/manifest_names.h"

struct ManifestError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "file:line:column" of a node, or the file alone when the node has no source position.
std::string WhereIs(const std::string& file, const toml::node* node);
[[noreturn]] void FailAt(const std::string& file, const toml::node* node, const std::string& what);

class ManifestSection {
 public:
  // `name` is the dotted name used in messages ("product", "file[2]").
  ManifestSection(const std::string& file, const toml::table* table, std::string name);

  bool Has(const char* key);
  const toml::node* Node(const char* key);  // null when absent; marks the key as known

  std::string Text(const char* key, const std::string& fallback = std::string());
  bool Bool(const char* key, bool fallback);
  int64_t Integer(const char* key, int64_t fallback, int64_t lowest, int64_t highest);
  // A colour "#RRGGBB", stored as 0x00BBGGRR.
  uint32_t Colour(const char* key, uint32_t fallback);
  // "YYYY-MM-DD[THH:MM:SS]" (or a TOML date / local date-time), or "none" for no stamp.
  FileStamp Stamp(const char* key, const FileStamp& fallback);
  // One name of the table, or a number.
  uint64_t Named(const char* key, const std::vector<NamedValue>& names, uint64_t fallback);
  // An array of names (or numbers) OR-ed together, or a single number.
  uint64_t NamedSet(const char* key, const std::vector<NamedValue>& names, uint64_t fallback);
  std::vector<std::string> TextList(const char* key);

  const toml::table* Table(const char* key);
  const toml::array* ArrayOfTables(const char* key);

  // Every key of the table, in file order, marked as known.
  std::vector<std::pair<std::string, const toml::node*>> AllKeys();
  // Fails on the first key that was never asked for.
  void RejectUnknownKeys() const;

  const std::string& File() const { return file_; }
  const toml::table* Raw() const { return table_; }
  std::string KeyName(const char* key) const;

 private:
  [[noreturn]] void Expected(const toml::node* node, const char* key, const std::string& what) const;

  std::string file_;
  const toml::table* table_;
  std::string name_;
  std::set<std::string> known_;
};
