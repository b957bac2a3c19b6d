#include "tools/qorv/manifest_section.h"

#include <cstdio>

#include "tools/qorv/manifest.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseColour(const std::string& text, uint32_t& colour) {
  if (text.size() != 7 || text[0] != '#') return false;
  uint32_t rgb = 0;
  for (size_t i = 1; i < 7; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return false;
    rgb = rgb << 4 | uint32_t(digit);
  }
  const uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  colour = blue << 16 | green << 8 | red;
  return true;
}

bool DaysFit(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool ParseIsoStamp(const std::string& text, FileStamp& stamp) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
  const bool dateOnly = text.size() == 10 &&
                        std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3;
  const bool withTime = text.size() == 19 && (text[10] == 'T' || text[10] == ' ') &&
                        std::sscanf(text.c_str(), "%4d-%2d-%2d%*c%2d:%2d:%2d%n", &year, &month,
                                    &day, &hour, &minute, &second, &used) == 6;
  if (!(dateOnly || withTime) || size_t(used) != text.size()) return false;
  if (text[4] != '-' || text[7] != '-') return false;
  if (!DaysFit(year, month, day) || hour > 23 || minute > 59 || second > 59) return false;
  stamp = {year, month, day, hour, minute, second};
  return true;
}

const char* TypeName(const toml::node* node) {
  switch (node->type()) {
    case toml::node_type::string: return "a text";
    case toml::node_type::integer: return "an integer";
    case toml::node_type::floating_point: return "a number";
    case toml::node_type::boolean: return "true or false";
    case toml::node_type::date: return "a date";
    case toml::node_type::time: return "a time";
    case toml::node_type::date_time: return "a date and time";
    case toml::node_type::array: return "an array";
    case toml::node_type::table: return "a table";
    default: return "nothing";
  }
}

}  // namespace

std::string WhereIs(const std::string& file, const toml::node* node) {
  if (node == nullptr || node->source().begin.line == 0) return file;
  return file + ":" + std::to_string(node->source().begin.line) + ":" +
         std::to_string(node->source().begin.column);
}

void FailAt(const std::string& file, const toml::node* node, const std::string& what) {
  throw ManifestError(WhereIs(file, node) + ": " + what);
}

ManifestSection::ManifestSection(const std::string& file, const toml::table* table, std::string name)
    : file_(file), table_(table), name_(std::move(name)) {}

std::string ManifestSection::KeyName(const char* key) const {
  return name_.empty() ? std::string(key) : name_ + "." + key;
}

void ManifestSection::Expected(const toml::node* node, const char* key,
                               const std::string& what) const {
  FailAt(file_, node, KeyName(key) + ": expected " + what + ", found " + TypeName(node));
}

bool ManifestSection::Has(const char* key) { return Node(key) != nullptr; }

const toml::node* ManifestSection::Node(const char* key) {
  known_.insert(key);
  return table_ == nullptr ? nullptr : table_->get(key);
}

std::string ManifestSection::Text(const char* key, const std::string& fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  if (!node->is_string()) Expected(node, key, "a text");
  std::string converted, error;
  if (!Utf8ToWindows1252(node->as_string()->get(), converted, error)) {
    FailAt(file_, node, KeyName(key) + ": " + error);
  }
  return converted;
}

bool ManifestSection::Bool(const char* key, bool fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  if (!node->is_boolean()) Expected(node, key, "true or false");
  return node->as_boolean()->get();
}

int64_t ManifestSection::Integer(const char* key, int64_t fallback, int64_t lowest,
                                 int64_t highest) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  if (!node->is_integer()) Expected(node, key, "an integer");
  const int64_t value = node->as_integer()->get();
  if (value < lowest || value > highest) {
    FailAt(file_, node, KeyName(key) + ": expected an integer from " + std::to_string(lowest) +
                            " to " + std::to_string(highest) + ", found " + std::to_string(value));
  }
  return value;
}

uint32_t ManifestSection::Colour(const char* key, uint32_t fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  uint32_t colour = 0;
  if (!node->is_string()) Expected(node, key, "a colour \"#RRGGBB\"");
  if (!ParseColour(node->as_string()->get(), colour)) {
    FailAt(file_, node, KeyName(key) + ": expected a colour \"#RRGGBB\", found \"" +
                            node->as_string()->get() + "\"");
  }
  return colour;
}

FileStamp ManifestSection::Stamp(const char* key, const FileStamp& fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  FileStamp stamp = {};
  if (const auto* date = node->as_date()) {
    const toml::date d = date->get();
    stamp = {d.year, d.month, d.day, 0, 0, 0};
  } else if (const auto* dateTime = node->as_date_time()) {
    const toml::date_time dt = dateTime->get();
    if (dt.offset) FailAt(file_, node, KeyName(key) + ": expected a local date and time (no offset)");
    stamp = {dt.date.year, dt.date.month, dt.date.day, dt.time.hour, dt.time.minute, dt.time.second};
  } else if (node->is_string()) {
    const std::string text = node->as_string()->get();
    if (text == "none") return FileStamp{};
    if (!ParseIsoStamp(text, stamp)) {
      FailAt(file_, node, KeyName(key) + ": expected a date \"YYYY-MM-DD\" or \"YYYY-MM-DDTHH:MM:SS\", found \"" +
                              text + "\"");
    }
  } else {
    Expected(node, key, "a date \"YYYY-MM-DD[THH:MM:SS]\"");
  }
  return stamp;
}

uint64_t ManifestSection::Named(const char* key, const std::vector<NamedValue>& names,
                                uint64_t fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  if (node->is_integer()) return uint64_t(node->as_integer()->get());
  if (!node->is_string()) Expected(node, key, "one of " + NameList(names) + " or a number");
  uint64_t value = 0;
  if (!LookUpName(names, node->as_string()->get(), value)) {
    FailAt(file_, node, KeyName(key) + ": unknown name \"" + node->as_string()->get() +
                            "\", expected one of " + NameList(names) + " or a number");
  }
  return value;
}

uint64_t ManifestSection::NamedSet(const char* key, const std::vector<NamedValue>& names,
                                   uint64_t fallback) {
  const toml::node* node = Node(key);
  if (node == nullptr) return fallback;
  if (node->is_integer()) return uint64_t(node->as_integer()->get());
  if (!node->is_array()) Expected(node, key, "an array of names (" + NameList(names) + ")");
  uint64_t value = 0;
  for (const toml::node& element : *node->as_array()) {
    uint64_t one = 0;
    if (element.is_integer()) {
      one = uint64_t(element.as_integer()->get());
    } else if (!element.is_string()) {
      FailAt(file_, &element, KeyName(key) + ": expected a name (" + NameList(names) + ")");
    } else if (!LookUpName(names, element.as_string()->get(), one)) {
      FailAt(file_, &element, KeyName(key) + ": unknown name \"" + element.as_string()->get() +
                                  "\", expected one of " + NameList(names));
    }
    value |= one;
  }
  return value;
}

std::vector<std::string> ManifestSection::TextList(const char* key) {
  std::vector<std::string> texts;
  const toml::node* node = Node(key);
  if (node == nullptr) return texts;
  if (!node->is_array()) Expected(node, key, "an array of texts");
  for (const toml::node& element : *node->as_array()) {
    if (!element.is_string()) FailAt(file_, &element, KeyName(key) + ": expected a text");
    texts.push_back(element.as_string()->get());
  }
  return texts;
}

const toml::table* ManifestSection::Table(const char* key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return nullptr;
  if (!node->is_table()) Expected(node, key, "a table [" + KeyName(key) + "]");
  return node->as_table();
}

const toml::array* ManifestSection::ArrayOfTables(const char* key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return nullptr;
  if (!node->is_array_of_tables()) Expected(node, key, "tables [[" + KeyName(key) + "]]");
  return node->as_array();
}

std::vector<std::pair<std::string, const toml::node*>> ManifestSection::AllKeys() {
  std::vector<std::pair<std::string, const toml::node*>> keys;
  if (table_ == nullptr) return keys;
  for (const auto& [key, node] : *table_) {
    known_.insert(std::string(key.str()));
    keys.emplace_back(std::string(key.str()), &node);
  }
  return keys;
}

void ManifestSection::RejectUnknownKeys() const {
  if (table_ == nullptr) return;
  for (const auto& [key, node] : *table_) {
    if (known_.count(std::string(key.str())) == 0) {
      FailAt(file_, &node, "unknown key " + KeyName(std::string(key.str()).c_str()));
    }
  }
}
