// Death tests in which allocations fail for real. AddressSanitizer aborts on a request it cannot
// satisfy unless told to return null (as the plain allocator does); it reads its options when the
// process starts, so these tests run in a re-executed child ("threadsafe" death tests) that
// inherits the changed environment.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class AllocationFailureTest : public ::testing::Test {
 protected:
  // Extra sanitizer options, such as a size limit that makes modest requests fail too.
  explicit AllocationFailureTest(const char* extraOptions = "") : extraOptions_(extraOptions) {}

  void SetUp() override {
    const char* old = std::getenv("ASAN_OPTIONS");
    hadOptions_ = old != nullptr;
    if (hadOptions_) oldOptions_ = old;
    std::string options = hadOptions_ ? oldOptions_ + ":" : std::string();
    options += "allocator_may_return_null=1";
    if (*extraOptions_) options = options + ":" + extraOptions_;
    setenv("ASAN_OPTIONS", options.c_str(), 1);
    oldStyle_ = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  void TearDown() override {
    GTEST_FLAG_SET(death_test_style, oldStyle_);
    if (hadOptions_) {
      setenv("ASAN_OPTIONS", oldOptions_.c_str(), 1);
    } else {
      unsetenv("ASAN_OPTIONS");
    }
  }

 private:
  const char* extraOptions_;
  bool hadOptions_ = false;
  std::string oldOptions_;
  std::string oldStyle_;
};
