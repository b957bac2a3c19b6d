// Result codes of File::Open and their texts. The texts are shown to users and written to logs
// as they are; code 10 has a text but no operation produces it.
#pragma once

namespace FileOpenResult {
enum : int {
  kSuccess = 0,
  kUnknownError = 1,
  kInvalidName = 2,
  kFileNotFound = 3,
  kDirectoryNotFound = 4,
  kLocked = 5,
  kLoadFailed = 6,
  kTooManyOpenFiles = 7,
  kInvalidParameter = 8,
  kAlreadyExists = 9,
  kTooManyIndexedFiles = 10,
  kAccessDenied = 11,
  kReadOnly = 12,
};
}  // namespace FileOpenResult

// The text of a result code; codes outside 0..12 give the text of kUnknownError.
const char* FileOpenResultText(int code);
