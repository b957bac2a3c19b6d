// Helpers of the qorv tests: a scratch folder per test, files written into it, and qorv run
// in-process with its output captured.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/archive_writer_test_support.h"
#include "tools/qorv/qorv_commands.h"

namespace qorv_test {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/qorv-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (fs::path(path_) / name).string(); }
  const std::string& Path() const { return path_; }

  // Writes `contents` to `name` (folders created) with the modification time `mtime`.
  void Write(const std::string& name, const std::string& contents, int64_t mtime = 1000000000) const {
    const fs::path file = fs::path(path_) / name;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream(file, std::ios::binary) << contents;
    struct utimbuf times = {time_t(mtime), time_t(mtime)};
    utime(file.c_str(), &times);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> Names(const std::string& folder = "") const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(path_) / folder, ec)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A synthetic engine at "engine.exe".
  std::string WriteEngine() const {
    const String engine = archive_test::MakeEngineImage();
    Write("engine.exe", std::string(engine.CStr(), size_t(engine.Length())));
    return *this / "engine.exe";
  }

 private:
  std::string path_;
};

struct QorvRun {
  int code;
  std::string out;
  std::string err;
};

inline QorvRun RunQorvWith(std::vector<std::string> args) {
  args.insert(args.begin(), "qorv");
  std::ostringstream out, err;
  const int code = RunQorv(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace qorv_test
