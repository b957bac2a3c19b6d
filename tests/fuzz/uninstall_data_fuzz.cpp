// Arbitrary bytes as an Uninstall.DAT (NULs, lone CRs, headers in any case, separators at the
// ends of lines, ids far out of range): the reader never reads outside the text, every section
// is a piece of it, and every record and text it keeps obeys the format's rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "uninstall/uninstall_data_reader.h"

namespace {

bool Contains(const String& text, const String& part) {
  return part.IsEmpty() || text.Find(part.CStr(), 0, 0, part.Length()) >= 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  String text(reinterpret_cast<const char*>(data), int(size));
  UninstallDataSections sections = SplitUninstallData(text);
  if (sections.fileList.Length() + sections.stringsSection.Length() +
          sections.associationLines.Length() >
      text.Length())
    std::abort();
  if (!text.Substring(0, sections.fileList.Length()).Equals(sections.fileList)) std::abort();
  if (!Contains(text, sections.stringsSection) || !Contains(text, sections.associationLines))
    std::abort();

  // Each section reader also takes the whole text, as a damaged file could hand it anything.
  for (const String* lines : {&sections.associationLines, &text}) {
    Array<AssociationRecord> records = ReadAssociationRecords(*lines);
    if (records.Count() > kUninstallSectionRounds) std::abort();
    for (int i = 0; i < records.Count(); ++i) {
      const AssociationRecord& record = records[i];
      if (record.extension.IsBlank() || record.fileType.IsBlank() || record.verb.IsBlank())
        std::abort();
      if (record.extension.Find("~!~") >= 0 || record.fileType.Find("~!~") >= 0) std::abort();
      if (!Contains(*lines, record.extension) || !Contains(*lines, record.verb)) std::abort();
    }
  }
  for (const String* section : {&sections.stringsSection, &text}) {
    Array<UninstallText> texts = ReadUninstallTexts(*section);
    if (texts.Count() > kUninstallSectionRounds) std::abort();
    for (int i = 0; i < texts.Count(); ++i) {
      const UninstallText& entry = texts[i];
      if (entry.id < kFirstUninstallTextId || entry.id > kLastUninstallTextId) std::abort();
      if (entry.text.Length() > section->Length()) std::abort();
      if (!Contains(*section, entry.text)) std::abort();
    }
  }
  return 0;
}
