#include "tools/qorv/payload_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

bool ListPayloadFolder(const std::string& folder, std::vector<PayloadFile>& files,
                       std::string& error) {
  files.clear();
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = folder + ": not a folder";
    return false;
  }
  fs::recursive_directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    std::string relative = fs::relative(it->path(), folder, typeError).generic_string();
    if (typeError) continue;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    files.push_back({it->path().string(), relative});
  }
  if (ec) {
    error = folder + ": " + ec.message();
    return false;
  }
  std::sort(files.begin(), files.end(), [](const PayloadFile& a, const PayloadFile& b) {
    return a.archiveName < b.archiveName;
  });
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open (" + std::strerror(errno) + ")";
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    error = path + ": cannot read";
    return false;
  }
  contents = buffer.str();
  return true;
}

bool SourceDateEpoch(int64_t& seconds) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*end != '\0') return false;
  seconds = value;
  return true;
}

FileStamp StampFromUnixTime(int64_t seconds) {
  const time_t t = time_t(seconds);
  struct tm parts = {};
  FileStamp stamp = {};
  if (gmtime_r(&t, &parts) == nullptr) return stamp;
  stamp.year = parts.tm_year + 1900;
  stamp.month = parts.tm_mon + 1;
  stamp.day = parts.tm_mday;
  stamp.hour = parts.tm_hour;
  stamp.minute = parts.tm_min;
  stamp.second = parts.tm_sec;
  return stamp;
}

bool FileStampOf(const std::string& path, FileStamp& stamp, std::string& error) {
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  int64_t seconds = info.st_mtime;
  int64_t epoch = 0;
  if (SourceDateEpoch(epoch) && seconds > epoch) seconds = epoch;
  stamp = StampFromUnixTime(seconds);
  return true;
}
