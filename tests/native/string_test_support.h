// Helpers shared by the String tests: byte-exact views of a String and its invariants.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/string.h"

namespace string_test {

// The counted bytes of s, NULs included, for exact comparisons and readable failure output.
inline std::string Bytes(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

// A String holding exactly these bytes (a std::string literal may carry NULs: use "..."s).
inline String Make(const std::string& bytes) { return String(bytes.data(), int(bytes.size())); }

// The invariants that hold after every operation: no buffer means all fields zero; a buffer is
// larger than the length and terminated at it.
inline void ExpectValid(const String& s) {
  if (!s.HasBuffer()) {
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Capacity(), 0);
    EXPECT_STREQ(s.CStr(), "");
    return;
  }
  EXPECT_GE(s.Length(), 0);
  EXPECT_LT(s.Length(), s.Capacity());
  EXPECT_EQ(s.CStr()[s.Length()], '\0');
}

}  // namespace string_test
