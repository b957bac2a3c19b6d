#include "install/file_version.h"

#include <windows.h>

#include "platform/file_finder.h"

namespace {

constexpr char kFileVersionValue[] = "\\StringFileInfo\\040904E4\\FileVersion";
constexpr int kVersionPartWidth = 10;

// Pads each dot-separated part to kVersionPartWidth with leading zeros, so that texts compare
// part by part whatever the number of digits.
String PadVersionParts(const String& version) {
  String padded;
  int start = 0;
  for (;;) {
    int dot = version.FindChar('.', start);
    int end = dot < 0 ? version.Length() : dot;
    for (int n = end - start; n < kVersionPartWidth; ++n) padded += '0';
    padded += version.Substring(start, end - start);
    if (dot < 0) return padded;
    padded += '.';
    start = dot + 1;
  }
}

}  // namespace

String FileVersionText(const String& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.CStr(), &ignored);
  if (size == 0) return String();
  String info;
  info.Resize(int(size));
  if (!GetFileVersionInfoA(path.CStr(), 0, size, info.Data())) return String();
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.Data(), kFileVersionValue, reinterpret_cast<void**>(&value), &length) ||
      value == nullptr)
    return String();
  // The length counts characters and may include the terminator; the text ends at either.
  String version;
  version.AssignBounded(value, int(length));
  version.ToUpper();
  return PadVersionParts(version);
}

bool InstalledStamp(const String& target, FileStamp& stamp) {
  FileTimeSet times;
  if (!FileTimes(target, times)) return false;
  stamp = times.lastWrite;
  return true;
}

bool IsNewerThanInstalled(const String& target, const FileStamp& stamp) {
  if (stamp.month == 0) return true;
  FileStamp installed;
  if (!InstalledStamp(target, installed)) return true;
  return FileStamp::Compare(installed, stamp) < 0;
}
