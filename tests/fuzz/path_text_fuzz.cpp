// Arbitrary texts as paths (quotes, semicolons, slashes, UNC prefixes, trailing backslashes):
// the path helpers never read outside the text and their parts stay within it. The bytes also
// serve as a recorded Windows version, whose name is read within its fixed buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/os_version.h"
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

  // The in-place cuts leave a prefix (or, for the directory part, a suffix) of the text.
  String cut = path;
  RemoveDirectoryPart(cut);
  if (cut.Length() > path.Length()) std::abort();
  cut = path;
  RemoveExtension(cut);
  if (!path.Substring(0, cut.Length()).Equals(cut)) std::abort();
  cut = path;
  if (RemoveFileName(cut) && cut.Length() != SeparatorPos(path) + 1) std::abort();

  String absolute = path;
  MakeAbsolute(absolute, other.CStr());
  if (absolute.Length() > path.Length() + other.Length() + 1) std::abort();
  IsAbsolutePath(path.CStr());
  for (int flags = 0; flags < 4; ++flags) IsValidPathText(path, flags);
  if (!SamePath(path, path) || SamePath(path, other) != SamePath(other, path)) std::abort();
  if (DriveText(path.CharAt(0)).Length() > 2 || DriveRoot(path).Length() > 3) std::abort();

  // The same bytes as a recorded version: the service-pack text need not be terminated.
  OsVersion version;
  std::memset(&version, 0, sizeof version);
  std::memcpy(&version, data, size < sizeof version ? size : sizeof version);
  OsKindOf(version);
  if (OsVersionTextOf(version).Length() > 40 + int(sizeof version.servicePack)) std::abort();
  return 0;
}
