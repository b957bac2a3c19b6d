#include "tests/support/ui_transcript.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string UiTranscriptPath() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", path, sizeof path);
  return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

std::vector<std::string> ReadUiTranscript(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void ClearUiTranscript(const std::string& path) { DeleteFileA(path.c_str()); }

std::string TranscriptEscaped(const std::string& text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += ch;
    }
  }
  return out;
}
