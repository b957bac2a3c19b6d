// A small byte builder for the archive readers' tests: little-endian numbers, NUL-terminated
// texts and raw bytes appended in order, plus marks that name, for each stretch of the
// bytes, the code a reader must give when the data ends inside it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/header_stream.h"
#include "archive/pe_layout.h"
#include "core/little_endian.h"
#include "core/string.h"

namespace archive_test {

class ArchiveBytes {
 public:
  ArchiveBytes& U8(uint32_t v) { return Number(v, 1); }
  ArchiveBytes& U16(uint32_t v) { return Number(v, 2); }
  ArchiveBytes& U32(uint32_t v) { return Number(v, 4); }
  ArchiveBytes& S32(int32_t v) { return Number(uint32_t(v), 4); }
  ArchiveBytes& U64(uint64_t v) { return Number(v, 8); }
  // The text and its NUL.
  ArchiveBytes& Text(const char* text) {
    bytes_.append(text, std::strlen(text) + 1);
    return *this;
  }
  ArchiveBytes& Text(const std::string& text) { return Text(text.c_str()); }
  ArchiveBytes& Bytes(const void* data, int n) {
    if (n > 0) bytes_.append(static_cast<const char*>(data), size_t(n));
    return *this;
  }
  ArchiveBytes& Bytes(const String& data) { return Bytes(data.CStr(), data.Length()); }
  ArchiveBytes& Fill(uint8_t value, int n) {
    if (n > 0) bytes_.append(size_t(n), char(value));
    return *this;
  }
  // Six signed words: year, month, day, hour, minute, second.
  ArchiveBytes& Stamp(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s) {
    return S32(y).S32(mo).S32(d).S32(h).S32(mi).S32(s);
  }

  // From here on (until the next mark), the data ending gives `code`.
  ArchiveBytes& Mark(int code) {
    marks_.push_back({Length(), code});
    return *this;
  }
  // The code for a cut after `length` bytes: that of the stretch holding byte `length`.
  int CodeForCut(int length) const {
    int code = 0;
    for (const auto& mark : marks_) {
      if (mark.start <= length) code = mark.code;
    }
    return code;
  }

  String Data() const { return String(bytes_.data(), Length()); }
  int Length() const { return int(bytes_.size()); }
  // The first n bytes, copied into an exact-size heap block so that AddressSanitizer sees a
  // read past them.
  std::vector<char> Cut(int n) const {
    return std::vector<char>(bytes_.begin(), bytes_.begin() + n);
  }
  std::vector<char> All() const { return Cut(Length()); }

 private:
  struct MarkAt {
    int start;
    int code;
  };

  ArchiveBytes& Number(uint64_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(char((v >> (8 * i)) & 0xFF));
    return *this;
  }

  std::string bytes_;  // grows geometrically: headers of ten thousand records build quickly
  std::vector<MarkAt> marks_;
};

// A stream over a vector's bytes (null when empty, as an empty header would be).
inline HeaderStream StreamOver(const std::vector<char>& bytes) {
  return HeaderStream(bytes.empty() ? nullptr : bytes.data(), bytes.size());
}

// One section-table entry of a synthetic PE file.
struct PeSection {
  std::string name;  // up to 8 bytes, NUL-padded
  uint32_t virtualSize = 0;
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

// The layout of a synthetic PE file's headers.
struct PeLayout {
  uint32_t peOffset = 0x80;           // written at 0x3C
  uint16_t optionalHeaderSize = 0xE0;
  uint32_t initializedDataSize = 0x11223344;  // at PE + 0x20
  uint32_t imageSize = 0x55667788;            // at PE + 0x50
  int sectionCount = -1;              // the count written at PE + 6; -1: sections.size()
  std::vector<PeSection> sections;
  // The 40 bytes after the table (zeros in a well-formed file; a pattern shows where they go).
  uint8_t afterTable = 0;

  size_t TableOffset() const { return peOffset + kPeOptionalHeader + optionalHeaderSize; }
  size_t EntryOffset(int i) const { return TableOffset() + size_t(i) * kSectionEntrySize; }
  size_t HeadersEnd() const { return EntryOffset(int(sections.size())) + 40; }
};

// The headers of a PE file: DOS header with the PE pointer, signature, file header, an
// optional header of the given size (a byte pattern, with the two size fields set), the section
// table and the 40 bytes after it. Raw section data is the caller's to append.
inline std::vector<uint8_t> MakePeHeaders(const PeLayout& layout) {
  std::vector<uint8_t> file(layout.HeadersEnd(), 0);
  auto put16 = [&](size_t at, uint32_t v) { StoreU16(&file[at], uint16_t(v)); };
  auto put32 = [&](size_t at, uint32_t v) { StoreU32(&file[at], v); };
  file[0] = 'M';
  file[1] = 'Z';
  put32(kPeOffsetField, layout.peOffset);
  const size_t pe = layout.peOffset;
  std::memcpy(&file[pe], "PE\0\0", 4);
  put16(pe + 4, 0x14C);
  put16(pe + 6, uint32_t(layout.sectionCount >= 0 ? layout.sectionCount
                                                   : int(layout.sections.size())));
  put16(pe + kPeOptionalHeaderSizeField, layout.optionalHeaderSize);
  for (size_t i = 0; i < layout.optionalHeaderSize; ++i)
    file[pe + kPeOptionalHeader + i] = uint8_t(0x30 + i);
  if (layout.optionalHeaderSize >= 0x3C) {
    put32(pe + 0x20, layout.initializedDataSize);
    put32(pe + 0x50, layout.imageSize);
  }
  for (size_t i = 0; i < layout.sections.size(); ++i) {
    const PeSection& s = layout.sections[i];
    const size_t entry = layout.EntryOffset(int(i));
    std::memcpy(&file[entry], s.name.data(), std::min<size_t>(s.name.size(), 8));
    put32(entry + 8, s.virtualSize);
    put32(entry + 12, s.virtualAddress);
    put32(entry + 16, s.rawSize);
    put32(entry + 20, s.rawOffset);
    put32(entry + 36, 0x40000040u + uint32_t(i));  // characteristics: tell entries apart
  }
  std::memset(&file[layout.EntryOffset(int(layout.sections.size()))], layout.afterTable, 40);
  return file;
}

inline std::string Str(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

}  // namespace archive_test
