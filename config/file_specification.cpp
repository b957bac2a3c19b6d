#include "config/file_specification.h"

#include "config/file_spec_text.h"
#include "platform/directories.h"
#include "platform/file_finder.h"
#include "platform/path_text.h"

namespace {

// FILE_ATTRIBUTE_DIRECTORY. The Windows header stays out of this file: its CompareString macro
// would rename String::CompareString.
constexpr uint32_t kDirectoryAttribute = 0x10;

bool IsDotEntry(const String& name) {
  return name.Equals(String(".")) || name.Equals(String(".."));
}

bool IsDirectory(const FindRecord& record) {
  return (record.attributes & kDirectoryAttribute) != 0;
}

int CompareAscending(const String& a, const String& b) { return a.CompareString(b, false); }
int CompareDescending(const String& a, const String& b) { return b.CompareString(a, false); }

// The orderings, then the shortened forms, over the matches of one directory.
void Arrange(Array<String>& found, uint32_t flags) {
  if (flags & MatchFlags::kSortByName) {
    found.Sort(CompareAscending);
  } else if (flags & MatchFlags::kSortByNameDescending) {
    found.Sort(CompareDescending);
  }
  if (!(flags & (MatchFlags::kNameOnly | MatchFlags::kNoExtension))) return;
  for (int i = 0; i < found.Count(); ++i) {
    if (flags & MatchFlags::kNameOnly) RemoveDirectoryPart(found[i]);
    if (flags & MatchFlags::kNoExtension) RemoveExtension(found[i]);
  }
}

void AppendAll(Array<String>& to, const Array<String>& from) {
  for (int i = 0; i < from.Count(); ++i) to.Append(from[i]);
}

}  // namespace

uint64_t FindMatchingFiles(Array<String>& files, const String& pattern, uint32_t flags) {
  if (!(flags & MatchFlags::kAppend)) files.RemoveAll();
  String spec(pattern);
  // The suffix stands for the recursion flag, which the deeper calls then carry.
  if (RemoveSubdirectorySuffix(spec)) flags |= MatchFlags::kRecurse;
  String dir = DirectoryPart(spec);

  uint64_t sum = 0;
  Array<String> found;
  FileFinder finder;
  FindRecord record;
  for (bool more = finder.FindFirst(spec, &record); more; more = finder.FindNext(&record)) {
    if (IsDirectory(record)) {
      if (!(flags & MatchFlags::kDirectories) || IsDotEntry(record.longName)) continue;
    } else {
      sum += record.size;
    }
    found.Append(JoinPath(dir, record.longName));
  }
  Arrange(found, flags);
  AppendAll(files, found);

  if (!(flags & MatchFlags::kRecurse)) return sum;
  String name = FileNamePart(spec);
  for (bool more = finder.FindFirst(JoinPath(dir, "*.*"), &record); more;
       more = finder.FindNext(&record)) {
    if (!IsDirectory(record) || IsDotEntry(record.longName)) continue;
    Array<String> deeper;
    sum += FindMatchingFiles(deeper, JoinPath(JoinPath(dir, record.longName), name),
                             flags | MatchFlags::kAppend);
    AppendAll(files, deeper);
  }
  return sum;
}

void ParseFileSpecification(const String& text, Array<String>& files, const char* defaultDir,
                            String* errors, Vector<int>* lineIndexes, uint64_t* totalSize,
                            uint32_t flags) {
  String defaultText(defaultDir);
  if (errors != nullptr) {
    if (flags & FileSpecFlags::kClearErrors) errors->Clear();
    // Reported, but the patterns are still tried: each one gets its own diagnostic.
    if (!defaultText.IsEmpty() && !DirectoryExists(defaultText)) {
      errors->Append("The default directory \"");
      errors->Append(defaultText);
      errors->Append("\" does not exist.\r\n");
    }
  }
  if ((flags & FileSpecFlags::kBlankIsError) && text.IsBlank()) {
    if (errors != nullptr) *errors = "No files were specified.\r\n";
    return;
  }
  if (flags & FileSpecFlags::kClearFiles) files.RemoveAll();
  if ((flags & FileSpecFlags::kClearLineIndexes) && lineIndexes != nullptr) {
    lineIndexes->RemoveAll();
  }
  if (totalSize != nullptr) *totalSize = 0;

  const uint32_t matchFlags = flags & (FileSpecFlags::kDirectories | FileSpecFlags::kRecurse);
  const bool withLineNumber = !(flags & FileSpecFlags::kNoLineNumbers);
  String rest(text);
  for (int lineNumber = 1; !rest.IsEmpty(); ++lineNumber) {
    String line = rest.TakeLine();
    line.Trim();
    String base = FileSpecLineBase(line, defaultDir);
    for (bool first = true; !line.IsEmpty(); first = false) {
      String pattern = line.SplitAtChar(';');
      if (pattern.IsEmpty()) continue;
      if (!base.IsEmpty()) {
        // base already holds the first pattern's own directory: completing that pattern from
        // base would name the directory twice ("sub\*.x" would become "App\sub\sub\*.x").
        MakeAbsolute(pattern, first ? defaultDir : base.CStr());
      } else if (!IsAbsolutePath(pattern)) {
        if (errors != nullptr) {
          AppendPatternDiagnostic(*errors, pattern, lineNumber, withLineNumber,
                                  "is not an absolute path.  Please include the drive and "
                                  "directory.\r\n");
        }
        continue;
      }
      Array<String> matches;
      uint64_t size = FindMatchingFiles(matches, pattern, matchFlags);
      if (matches.Count() == 0) {
        if (errors != nullptr) {
          AppendPatternDiagnostic(*errors, pattern, lineNumber, withLineNumber,
                                  "did not match any files.\r\n");
        }
        continue;
      }
      if (totalSize != nullptr && size > 0) *totalSize += size;
      for (int i = 0; i < matches.Count(); ++i) {
        const String& path = matches[i];
        if (!(flags & FileSpecFlags::kAllowDuplicates) && ContainsPathIgnoringCase(files, path)) {
          if (errors != nullptr) {
            errors->Append("The file \"");
            errors->Append(path);
            errors->Append("\" occurs more than once.\r\n");
          }
          continue;
        }
        files.Append(path);
        if (lineIndexes != nullptr) lineIndexes->Append(lineNumber - 1);
      }
    }
  }
}
