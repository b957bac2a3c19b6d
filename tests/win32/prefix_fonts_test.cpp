// The faces the engine's windows name must resolve, in the test prefix, to faces with Windows'
// metrics: the dialogs are laid out in Arial, the background title in Times New Roman, and the
// caption buttons draw Marlett glyphs. A fallback face changes every measured size (and the
// close box shows a letter), so the prefix set-up is checked here rather than by eye.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

uint16_t BigEndian16(const std::vector<uint8_t>& data, size_t at) {
  return at + 2 <= data.size() ? uint16_t(data[at] << 8 | data[at + 1]) : 0;
}

// The family name (name id 1) in the naming table of a TrueType file; Windows-platform UTF-16
// names preferred, Macintosh ones taken as bytes. Empty when there is none.
std::string FamilyInNamingTable(const std::vector<uint8_t>& table) {
  const uint16_t count = BigEndian16(table, 2);
  const size_t strings = BigEndian16(table, 4);
  std::string mac;
  for (size_t i = 0; i < count; ++i) {
    const size_t record = 6 + 12 * i;
    if (record + 12 > table.size()) break;
    const uint16_t platform = BigEndian16(table, record);
    const uint16_t nameId = BigEndian16(table, record + 6);
    const size_t length = BigEndian16(table, record + 8);
    const size_t at = strings + BigEndian16(table, record + 10);
    if (nameId != 1 || at + length > table.size()) continue;
    if (platform == 3) {
      std::string name;
      for (size_t k = 0; k + 1 < length; k += 2) name += char(BigEndian16(table, at + k));
      return name;
    }
    if (platform == 1 && mac.empty()) mac.assign(table.begin() + at, table.begin() + at + length);
  }
  return mac;
}

// The family name in the font file that GDI actually selected for face. Read from the file
// itself: Wine reports a replacement under the name it stands in for.
std::string SelectedFamily(const char* face, LONG weight, BYTE italic) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return "(no DC)";
  HFONT font = CreateFontA(-16, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, face);
  HGDIOBJ previous = SelectObject(dc, font);
  constexpr DWORD kNamingTable = 'n' | 'a' << 8 | 'm' << 16 | DWORD('e') << 24;
  std::string family = "(no naming table)";
  DWORD size = GetFontData(dc, kNamingTable, 0, nullptr, 0);
  if (size != GDI_ERROR && size > 0) {
    std::vector<uint8_t> table(size, 0xde);
    if (GetFontData(dc, kNamingTable, 0, table.data(), size) == size) {
      family = FamilyInNamingTable(table);
    }
  }
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  return family;
}

TEST(PrefixFonts, WindowsFacesResolveToMetricCompatibleFaces) {
  const struct {
    const char* face;
    LONG weight;
    BYTE italic;
    const char* family;
  } cases[] = {
      {"Arial", FW_NORMAL, FALSE, "Liberation Sans"},
      {"Arial", FW_BOLD, FALSE, "Liberation Sans"},
      {"Times New Roman", FW_NORMAL, FALSE, "Liberation Serif"},
      {"Times New Roman", FW_BOLD, TRUE, "Liberation Serif"},  // the background title
      {"Marlett", FW_NORMAL, FALSE, "Marlett"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " weight " + std::to_string(c.weight) +
                 (c.italic ? " italic" : ""));
    EXPECT_EQ(SelectedFamily(c.face, c.weight, c.italic), c.family);
  }
}

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Caption buttons ask for Marlett by name with its symbol character set; a face that only
// answers to a substitute would not be enumerated.
TEST(PrefixFonts, MarlettIsInstalledAsASymbolFace) {
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  LOGFONTA wanted = {};
  wanted.lfCharSet = SYMBOL_CHARSET;
  lstrcpyA(wanted.lfFaceName, "Marlett");
  bool found = false;
  EnumFontFamiliesExA(dc, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  EXPECT_TRUE(found);
}

}  // namespace
