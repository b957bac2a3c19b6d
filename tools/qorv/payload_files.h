// The files a manifest names on disk: listing a folder, reading files whole, and the fixed rule
// that turns a file's modification time into the archive's FileStamp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/file_stamp.h"

struct PayloadFile {
  std::string path;         // on disk
  std::string archiveName;  // relative to the folder, with backslashes
};

// Every regular file under `folder`, recursively (symbolic links followed as files, not as
// folders), sorted by archive name in byte order. False with `error` when the folder cannot be
// listed.
bool ListPayloadFolder(const std::string& folder, std::vector<PayloadFile>& files,
                       std::string& error);

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error);

// The stamp rule: the modification time in whole seconds, clamped to SOURCE_DATE_EPOCH when
// that is set, broken down in UTC (not the builder's time zone, so that every machine writes the
// same bytes).
bool FileStampOf(const std::string& path, FileStamp& stamp, std::string& error);
FileStamp StampFromUnixTime(int64_t seconds);
// SOURCE_DATE_EPOCH as a number; false when unset or not a number.
bool SourceDateEpoch(int64_t& seconds);
