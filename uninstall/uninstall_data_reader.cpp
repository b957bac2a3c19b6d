#include "uninstall/uninstall_data_reader.h"

namespace {

constexpr char kStringsHeader[] = "[Strings]";
constexpr char kAssociationsHeader[] = "[Associations]";
constexpr char kAssociationSeparator[] = "~!~";
constexpr int kSeparatorLength = 3;
constexpr char kTrailingSpace[] = " \t\r\n";

// Cuts text at its first separator: the part before it is returned, the part after it stays.
// Without a separator the whole text is returned and text is left empty.
String TakeBeforeSeparator(String& text) {
  int pos = text.Find(kAssociationSeparator);
  if (pos < 0) {
    String all = static_cast<String&&>(text);
    text.Clear();
    return all;
  }
  String before = text.Substring(0, pos);
  text.Erase(0, pos + kSeparatorLength);
  return before;
}

// The line break at the very start of text, if any (CR LF, LF CR, CR or LF), is removed.
void DropLeadingLineBreak(String& text) {
  if (text.IsEmpty()) return;
  char first = text.CharAt(0);
  if (first != '\r' && first != '\n') return;
  char pair = first == '\r' ? '\n' : '\r';
  text.Erase(0, text.Length() > 1 && text.CharAt(1) == pair ? 2 : 1);
}

int TextIdOf(const String& line) {
  String digits = line;
  digits.RemoveChar(',');
  return digits.ToInt();
}

}  // namespace

UninstallDataSections SplitUninstallData(const String& text) {
  UninstallDataSections sections;
  int strings = text.Find(kStringsHeader, 0, String::kIgnoreCase);
  if (strings < 0) {
    sections.fileList = text;
    return sections;
  }
  sections.fileList = text.Substring(0, strings);
  String rest = text.Substring(strings + int(sizeof kStringsHeader) - 1);
  int associations = rest.Find(kAssociationsHeader, 0, String::kIgnoreCase);
  if (associations >= 0) {
    sections.associationLines = rest.Substring(associations + int(sizeof kAssociationsHeader) - 1);
    DropLeadingLineBreak(sections.associationLines);
    rest.EraseFrom(associations);
  }
  sections.stringsSection = static_cast<String&&>(rest);
  return sections;
}

Array<AssociationRecord> ReadAssociationRecords(const String& lines) {
  Array<AssociationRecord> records;
  String rest = lines;
  for (int round = 0; round < kUninstallSectionRounds && !rest.IsEmpty(); ++round) {
    String line = rest.TakeLine();
    if (line.IsEmpty()) continue;
    AssociationRecord record;
    record.extension = TakeBeforeSeparator(line);
    record.fileType = TakeBeforeSeparator(line);
    record.verb = static_cast<String&&>(line);
    if (record.extension.IsBlank() || record.fileType.IsBlank() || record.verb.IsBlank()) continue;
    records.Append(record);
  }
  return records;
}

Array<UninstallText> ReadUninstallTexts(const String& section) {
  Array<UninstallText> texts;
  String rest = section;
  for (int round = 0; round < kUninstallSectionRounds && !rest.IsEmpty(); ++round) {
    String line = rest.TakeLine();
    if (!line.StartsWithChar('~')) continue;
    UninstallText entry;
    entry.id = TextIdOf(line);
    while (!rest.IsEmpty() && !rest.StartsWithChar('~')) entry.text += rest.TakeLineWithBreak();
    entry.text.TrimRight(kTrailingSpace);
    if (entry.id < kFirstUninstallTextId || entry.id > kLastUninstallTextId) continue;
    texts.Append(entry);
  }
  return texts;
}
