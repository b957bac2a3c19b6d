// Installers whose files exercise the file rules, run in automatic mode into a scratch folder,
// with what the run collected (its log, error summary and records) read back through the test
// builds' QUORVEX_INSTALL_TEXTS file.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"
#include "tests/win32/file_test_support.h"

namespace file_rules_e2e {

using archive_e2e::Quoted;
using file_test::BesideTests;
using file_test::Held;
using file_test::SetLastWrite;

// What one installation collected, section by section.
struct InstallTexts {
  std::string log;
  std::string errors;
  std::string installedFiles;
  std::string sharedFiles;
  std::string fonts;
  std::vector<std::string> shortcuts;
  std::vector<std::string> transcript;
};

inline InstallTexts ParseTexts(const std::string& text) {
  std::vector<std::string> sections;
  size_t start = 0;
  for (size_t end; (end = text.find("\f\r\n", start)) != std::string::npos; start = end + 3)
    sections.push_back(text.substr(start, end - start));
  InstallTexts texts;
  if (sections.size() != 6) return texts;
  texts.log = sections[0];
  texts.errors = sections[1];
  texts.installedFiles = sections[2];
  texts.sharedFiles = sections[3];
  texts.fonts = sections[4];
  for (size_t s = 0, e; (e = sections[5].find("\r\n", s)) != std::string::npos; s = e + 2)
    texts.shortcuts.push_back(sections[5].substr(s, e - s));
  return texts;
}

// A plan of the small product without its file, installed into scratch\App.
class FileRulesTest : public testing::Test {
 protected:
  void SetUp() override {
    plan_ = archive_e2e::SmallPlan();
    plan_.files.RemoveAll();
    plan_.header.productName = "Quorvex File Rules";
    textsPath_ = scratch_ / "texts.bin";
    SetEnvironmentVariableA("QUORVEX_INSTALL_TEXTS", textsPath_.c_str());
    ASSERT_TRUE(CreateDirectoryA(App().c_str(), nullptr));
  }
  void TearDown() override { SetEnvironmentVariableA("QUORVEX_INSTALL_TEXTS", nullptr); }

  // Adds an entry whose data the test keeps alive.
  FileEntry& Add(const char* name, const std::string& data, uint32_t kind = 0, uint32_t flags = 0) {
    data_.push_back(data);
    FileEntry& entry = plan_.files.AppendDefault();
    entry.name = name;
    entry.destinationKind = kind;
    entry.flags = flags;
    entry.data = data_.back().data();
    entry.length = int32_t(data_.back().size());
    return entry;
  }

  // Builds the plan into scratch\setup.exe and runs it with arguments (automatic mode into
  // App() unless told otherwise) and answers.
  InstallTexts Run(const std::string& arguments = "",
                   const std::vector<std::string>& answers = {}) {
    DeleteFileA(textsPath_.c_str());
    BuiltInstaller built;
    String error;
    EXPECT_TRUE(BuildInstaller(archive_e2e::EngineImage(), plan_, built, error)) << error.CStr();
    EXPECT_TRUE(file_test::WriteBytes(Setup(), file_test::Str(built.image)));
    const std::string args = arguments.empty() ? "/a /d:" + Quoted(App()) : arguments;
    QuorvexRun run = RunProgram(Setup(), Quoted(Setup()) + " " + args, answers);
    EXPECT_EQ(run.exitCode, 1u);
    InstallTexts texts = ParseTexts(file_test::ReadBytes(textsPath_));
    texts.transcript = run.transcript;
    return texts;
  }

  std::string Setup() const { return scratch_ / "setup.exe"; }
  std::string App() const { return scratch_ / "App"; }
  std::string InApp(const std::string& name) const { return App() + "\\" + name; }

  file_test::ScratchDir scratch_;
  InstallerPlan plan_;
  std::string textsPath_;
  std::deque<std::string> data_;
};

}  // namespace file_rules_e2e
