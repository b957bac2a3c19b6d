// String: the stream helpers over the reader and writer interfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "core/stream.h"
#include "core/string.h"
#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::ExpectValid;
using string_test::Make;

namespace {

// Reads from a fixed byte sequence; a read that asks for more than remains fails and consumes
// nothing.
class BytesReader : public Reader {
 public:
  explicit BytesReader(std::string bytes) : bytes_(std::move(bytes)) {}
  bool Read(void* buffer, int n) override {
    if (n < 0 || size_t(n) > bytes_.size() - position_) return false;
    std::memcpy(buffer, bytes_.data() + position_, size_t(n));
    position_ += size_t(n);
    return true;
  }
  size_t Position() const { return position_; }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

// Collects written bytes; after failAfter successful writes every write fails.
class BytesWriter : public Writer {
 public:
  explicit BytesWriter(int failAfter = -1) : failAfter_(failAfter) {}
  bool Write(const void* buffer, int n) override {
    if (failAfter_ >= 0 && writes_ >= failAfter_) return false;
    ++writes_;
    bytes_.append(static_cast<const char*>(buffer), size_t(n));
    return true;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int writes_ = 0;
  int failAfter_;
};

TEST(StringStream, ReadCStringStopsAtTheTerminator) {
  BytesReader in("abc\0\0def\0tail"s);
  String s("old");
  EXPECT_TRUE(s.ReadCString(in));
  EXPECT_EQ(Bytes(s), "abc");
  EXPECT_TRUE(s.ReadCString(in));
  EXPECT_EQ(Bytes(s), "");
  EXPECT_TRUE(s.ReadCString(in));
  EXPECT_EQ(Bytes(s), "def");
  EXPECT_FALSE(s.ReadCString(in));  // "tail" has no terminator
  EXPECT_EQ(Bytes(s), "def");
}

TEST(StringStream, ReadPrefixedFormsReadTheLengthThenTheBytes) {
  struct Case {
    int width;
    std::string bytes;
    bool ok;
    std::string expected;
  };
  const Case cases[] = {
      {1, "\x03" "abcX", true, "abc"},
      {1, "\x00"s, true, ""},
      {1, "\x05" "ab", false, "old"},
      {1, "", false, "old"},
      {2, "\x03\x00" "abc"s, true, "abc"},
      {2, "\x00\x00"s, true, ""},
      {2, "\x03", false, "old"},  // half a length
      {2, "\x02\x01" + std::string(258, 'z'), true, std::string(258, 'z')},
      {4, "\x03\x00\x00\x00" "a\0c"s, true, "a\0c"s},
      {4, "\x00\x00\x00\x00"s, true, ""},
      {4, "\xFF\xFF\xFF\xFF" "abc", false, "old"},  // a negative length
      {4, "\x00\x00\x00\x80"s, false, "old"},
      {4, "\xF0\xFF\xFF\x7F" "abc", false, "old"},  // more than memory can hold: a failed read
      {4, "\x04\x00\x00\x00" "abc"s, false, "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " " << testing::PrintToString(c.bytes));
    BytesReader in(c.bytes);
    String s("old");
    bool ok = c.width == 1 ? s.ReadPrefixed8(in)
              : c.width == 2 ? s.ReadPrefixed16(in)
                             : s.ReadPrefixed32(in);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(Bytes(s), c.expected);
    ExpectValid(s);
  }
}

TEST(StringStream, ReadAppendShrinksBackOnFailure) {
  BytesReader in("xyz");
  String s("ab");
  EXPECT_FALSE(s.ReadAppend(in, 4));
  EXPECT_EQ(Bytes(s), "ab");
  EXPECT_TRUE(s.ReadAppend(in, 3));
  EXPECT_EQ(Bytes(s), "abxyz");
  EXPECT_TRUE(s.ReadAppend(in, 0));
  EXPECT_FALSE(s.ReadAppend(in, -1));
  EXPECT_EQ(Bytes(s), "abxyz");
  String empty;
  EXPECT_FALSE(empty.ReadAppend(in, 2));
  EXPECT_FALSE(empty.HasBuffer());
  ExpectValid(s);
}

TEST(StringStream, WriteCStringWritesTheCountedBytesWithoutTerminator) {
  BytesWriter out;
  EXPECT_TRUE(Make("ab\0c"s).WriteCString(out));
  EXPECT_TRUE(String().WriteCString(out));
  EXPECT_EQ(out.Bytes(), "ab\0c"s);
}

TEST(StringStream, WritePrefixedClipsToTheLengthField) {
  const std::string big(70000, 'q');
  String s(big.c_str());
  BytesWriter eight;
  EXPECT_TRUE(s.WritePrefixed8(eight));
  EXPECT_EQ(eight.Bytes(), "\xFF" + std::string(255, 'q'));
  BytesWriter sixteen;
  EXPECT_TRUE(s.WritePrefixed16(sixteen));
  EXPECT_EQ(sixteen.Bytes(), "\xFF\xFF" + std::string(65535, 'q'));
  BytesWriter thirtyTwo;
  EXPECT_TRUE(s.WritePrefixed32(thirtyTwo));
  EXPECT_EQ(thirtyTwo.Bytes(), "\x70\x11\x01\x00"s + big);

  BytesWriter small;
  EXPECT_TRUE(String("abc").WritePrefixed8(small));
  EXPECT_TRUE(String("abc").WritePrefixed16(small));
  EXPECT_TRUE(String().WritePrefixed32(small));
  EXPECT_EQ(small.Bytes(), "\x03" "abc" "\x03\x00" "abc" "\x00\x00\x00\x00"s);
}

TEST(StringStream, WriteFailuresAreReported) {
  BytesWriter refusesAll(0);
  EXPECT_FALSE(String("abc").WriteCString(refusesAll));
  EXPECT_FALSE(String("abc").WritePrefixed32(refusesAll));
  BytesWriter refusesBody(1);
  EXPECT_FALSE(String("abc").WritePrefixed16(refusesBody));
}

TEST(StringStream, PrefixedRoundTrip) {
  String original = Make("text with \0 inside"s);
  BytesWriter out;
  ASSERT_TRUE(original.WritePrefixed8(out));
  ASSERT_TRUE(original.WritePrefixed16(out));
  ASSERT_TRUE(original.WritePrefixed32(out));
  BytesReader in(out.Bytes());
  for (int width : {1, 2, 4}) {
    SCOPED_TRACE(width);
    String copy;
    bool ok = width == 1 ? copy.ReadPrefixed8(in)
              : width == 2 ? copy.ReadPrefixed16(in)
                           : copy.ReadPrefixed32(in);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(copy.Equals(original));
  }
  EXPECT_EQ(in.Position(), out.Bytes().size());
}

}  // namespace
