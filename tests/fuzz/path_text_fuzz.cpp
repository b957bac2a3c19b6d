// Arbitrary texts as paths (quotes, semicolons, slashes, UNC prefixes, trailing backslashes):
// the path helpers never read outside the text and their parts stay within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/path_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t half = size / 2;
  String path(reinterpret_cast<const char*>(data), int(half));
  String other(reinterpret_cast<const char*>(data + half), int(size - half));

  int separator = SeparatorPos(path);
  if (separator < -1 || separator >= path.Length() + (path.IsEmpty() ? 1 : 0)) std::abort();
  if (DirectoryPart(path).Length() > path.Length()) std::abort();
  if (FileNamePart(path).Length() > path.Length()) std::abort();
  int extension = ExtensionPos(path);
  if (extension >= path.Length()) std::abort();
  DriveLetterOf(path);
  String joined = JoinPath(path, other);
  if (joined.Length() > path.Length() + other.Length() + 1) std::abort();
  String extended = path;
  AddExtensionIfMissing(extended, other.CStr());
  return 0;
}
