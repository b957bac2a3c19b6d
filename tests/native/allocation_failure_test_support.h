// Death tests in which allocations fail for real. AddressSanitizer aborts on a request it cannot
// satisfy unless told to return null (as the plain allocator does); it reads its options when the
// process starts, so these tests run in a re-executed child ("threadsafe" death tests) that
// inherits the changed environment. Without the sanitizer (the i386 tree, whose programs run
// under user-mode emulation and cannot re-execute themselves) the child is a plain fork, and a
// test that needs the sanitizer's size limit to make a modest request fail is skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define QUORVEX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVEX_ADDRESS_SANITIZER 1
#endif
#endif

class AllocationFailureTest : public ::testing::Test {
 protected:
  // Extra sanitizer options, such as a size limit that makes modest requests fail too.
  explicit AllocationFailureTest(const char* extraOptions = "") : extraOptions_(extraOptions) {}

  void SetUp() override {
#if !defined(QUORVEX_ADDRESS_SANITIZER)
    if (*extraOptions_) GTEST_SKIP() << "needs AddressSanitizer's allocation limit " << extraOptions_;
#else
    const char* old = std::getenv("ASAN_OPTIONS");
    hadOptions_ = old != nullptr;
    if (hadOptions_) oldOptions_ = old;
    std::string options = hadOptions_ ? oldOptions_ + ":" : std::string();
    options += "allocator_may_return_null=1";
    if (*extraOptions_) options = options + ":" + extraOptions_;
    setenv("ASAN_OPTIONS", options.c_str(), 1);
    oldStyle_ = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#endif
  }
  void TearDown() override {
#if defined(QUORVEX_ADDRESS_SANITIZER)
    GTEST_FLAG_SET(death_test_style, oldStyle_);
    if (hadOptions_) {
      setenv("ASAN_OPTIONS", oldOptions_.c_str(), 1);
    } else {
      unsetenv("ASAN_OPTIONS");
    }
#endif
  }

 private:
  const char* extraOptions_;
#if defined(QUORVEX_ADDRESS_SANITIZER)
  bool hadOptions_ = false;
  std::string oldOptions_;
  std::string oldStyle_;
#endif
};
