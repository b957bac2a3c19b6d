// Installers built with the builder's writer from the real quorvex.exe, written into a test's
// scratch folder, and the boxes the engine shows for them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/archive_layout.h"
#include "config/language_table.h"
#include "config/string_ids.h"
#include "core/string.h"
#include "tests/e2e/quorvex_process.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/file_test_support.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/archive_writer.h"

namespace archive_e2e {

using file_test::Str;

inline constexpr char kFileData[] = "hello from the archive\r\n";
inline constexpr int kCorruptMessageId = int(StringId::kCorruptInstaller);

inline constexpr char kNoArchiveMessage[] =
    "This program performs installations and uninstallations.\r\n"
    "There is no installation archive present.\r\n"
    "No Uninstallation parameters were specified.\r\n\r\n"
    "You should not delete this program or execute it directly.";

// owner: "none" before the background window exists, "background" once it does.
inline std::string FatalBox(const std::string& text, const std::string& owner = "none") {
  return "box\t" + owner + "\t0x00002010\tFATAL ERROR\t" + TranscriptEscaped(text) + "\t1";
}

// The engine's own text for a corrupt installer, with its code.
inline std::string BuiltInCorruptMessage(int code) {
  return "This installation program is corrupt.  This is usually caused by a faulty download, "
         "but it can also be caused by a virus on your computer.  The installation cannot "
         "proceed.\r\n\r\nDelete the corrupted installer (to prevent caching), then re-download "
         "it.  If the problem persists, check your system for viruses.\r\n\r\nError code: " +
         std::to_string(code);
}

// The bytes of quorvex.exe, which the tests build their installers from.
inline String EngineImage() {
  std::string bytes = file_test::ReadBytes(QuorvexPath());
  return String(bytes.data(), int(bytes.size()));
}

// Languages by name, with every id the engine uses: each text of id 13 is given per language
// ("" for none), the language's own licence and read-me (63, 64) are blank, and every other id
// holds "<language> <id>".
inline LanguageTables Languages(const std::vector<std::pair<const char*, const char*>>& named) {
  LanguageTables tables;
  for (const auto& language : named) tables.names.Append(String(language.first));
  for (int id = 0; id < kStringIdCount; ++id) {
    Vector<String>& row = tables.texts.AppendDefault();
    for (const auto& language : named) {
      if (id == kCorruptMessageId) {
        row.Append(String(language.second));
      } else if (id == int(StringId::kLanguageLicence) || id == int(StringId::kLanguageReadme)) {
        row.Append(String());
      } else {
        row.Append(String::Formatted("%s %d", language.first, id));
      }
    }
  }
  return tables;
}

// The welcome question of an installer with the tables above (English), answered Yes (6) or No.
inline std::string WelcomeBox(const char* answer = "6") {
  return std::string("box\tbackground\t0x00000044\tEnglish 65\tEnglish 1\t") + answer;
}

// The closing question of an installation without errors that offers its log (string 40 of the
// tables above has no "%s", so the engine's own text stands in), answered Yes (6) or No.
inline std::string LogQuestionBox(const std::string& logPath, const char* answer = "7") {
  return "box\tbackground\t0x00000044\tEnglish 41\t" +
         TranscriptEscaped("The installation is complete.\r\n\r\nThe installation log is " +
                           logPath + "\r\n\r\nView it now?") +
         "\t" + answer;
}

// A sound plan: the product Foo of Acme with one small file and one language, English, whose
// corrupt-installer text is corruptText.
inline InstallerPlan SmallPlan(const char* corruptText = "Broken archive %d") {
  InstallerPlan plan;
  ArchiveHeader& header = plan.header;
  header.publisher = "Acme";
  header.productName = "Foo";
  header.displayVersion = "1.0";
  header.volumeBase = "Foo";
  header.uninstallerName = "Uninstall Foo.exe";
  plan.languages = Languages({{"English", corruptText}});
  FileEntry& file = plan.files.AppendDefault();
  file.name = "readme.txt";
  file.data = kFileData;
  file.length = int32_t(sizeof kFileData - 1);
  return plan;
}

// The installer's bytes, or a failed assertion.
inline String Build(const InstallerPlan& plan) {
  BuiltInstaller built;
  String error;
  EXPECT_TRUE(BuildInstaller(EngineImage(), plan, built, error)) << error.CStr();
  return built.image;
}

inline String Assemble(const ArchiveParts& parts) {
  BuiltInstaller built;
  String error;
  EXPECT_TRUE(AssembleInstaller(EngineImage(), parts, built, error)) << error.CStr();
  return built.image;
}

// The archive section's table entry in an installer's bytes.
inline ArchiveSection SectionOf(const String& image) {
  ArchiveSection section;
  EXPECT_EQ(LocateArchiveSection(reinterpret_cast<const uint8_t*>(image.CStr()),
                                 size_t(image.Length()), section),
            0);
  return section;
}

inline std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace archive_e2e
