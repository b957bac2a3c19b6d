#include "platform/file_open_result.h"

namespace {

constexpr const char* kOpenResultTexts[] = {
    "The file was successfully opened.",
    "An unknown error occurred.",
    "The filename is invalid.",
    "The file was not found.",
    "The directory does not exist.",
    "The file is locked by another application.",
    "Failed to read the file into memory.",
    "Too many files are already open.",
    "An invalid parameter was used.",
    "The file already exists.",
    "Too many indexed files exist.",
    "Access denied.",
    "The file's Read-Only attribute is set.",
};
constexpr int kOpenResultCount = int(sizeof kOpenResultTexts / sizeof kOpenResultTexts[0]);
static_assert(kOpenResultCount == FileOpenResult::kReadOnly + 1, "one text per result code");

}  // namespace

const char* FileOpenResultText(int code) {
  if (code < 0 || code >= kOpenResultCount) code = FileOpenResult::kUnknownError;
  return kOpenResultTexts[code];
}
