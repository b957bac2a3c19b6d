// qorv build's progress: what is shown when, and that the encoder reports its whole input.
#include "tools/qorv/build_progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/codec/block_encoder.h"
#include "tools/codec/encode_progress.h"

namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

struct FakeClock {
  TimePoint now{};
  BuildProgress::Clock Function() {
    return [this] { return now; };
  }
};

TEST(BuildProgressTest, LineSaysBytesRateAndTimeLeft) {
  EXPECT_EQ(BuildProgress::Line(12'300'000, 66'000'000, 3.0),
            "12.3 of 66.0 MB encoded, 4.1 MB/s, 13 s left");
  EXPECT_EQ(BuildProgress::Line(66'000'000, 66'000'000, 10.0), "66.0 of 66.0 MB encoded, 6.6 MB/s");
  EXPECT_EQ(BuildProgress::Line(0, 5'000'000, 0.0), "0.0 of 5.0 MB encoded, 0.0 MB/s");
}

// Reports at the given milliseconds since the start; what the stream shows afterwards.
std::string Shown(ProgressStyle style, const std::vector<int>& reportTimes) {
  std::ostringstream out;
  FakeClock clock;
  BuildProgress progress(out, style, clock.Function());
  for (int ms : reportTimes) {
    clock.now = TimePoint(milliseconds(ms));
    progress.Report(ms * 1000, 10'000'000);
  }
  progress.Finish();
  return out.str();
}

TEST(BuildProgressTest, PlainLinesComeAboutOnceASecondAfterTheFirstSecond) {
  EXPECT_EQ(Shown(ProgressStyle::kLines, {100, 500, 900}), "") << "a quick build shows nothing";
  EXPECT_EQ(Shown(ProgressStyle::kLines, {500, 1000, 1500, 2100, 2500}),
            "1.0 of 10.0 MB encoded, 1.0 MB/s, 9 s left\n"
            "2.1 of 10.0 MB encoded, 1.0 MB/s, 8 s left\n");
}

TEST(BuildProgressTest, ATerminalLineIsRewrittenInPlaceAndClearedAtTheEnd) {
  EXPECT_EQ(Shown(ProgressStyle::kTerminal, {1000, 1100, 1300}),
            "\r\033[K1.0 of 10.0 MB encoded, 1.0 MB/s, 9 s left"
            "\r\033[K1.3 of 10.0 MB encoded, 1.0 MB/s, 9 s left"
            "\r\033[K");
}

TEST(BuildProgressTest, TheEncoderReportsItsWholeInputInSteps) {
  struct Seen {
    std::vector<int64_t> done;
    int64_t total = 0;
  } seen;
  codec::SetEncodeProgress(
      [](void* context, int64_t done, int64_t total) {
        auto* s = static_cast<Seen*>(context);
        s->done.push_back(done);
        s->total = total;
      },
      &seen);
  std::string input(3 * codec::kEncodeProgressStep + 12345, '\0');
  for (size_t i = 0; i < input.size(); ++i) input[i] = char((i * 2654435761u) >> 13);
  for (int level : {kFastestLevel, 5, kSmallestLevel}) {
    SCOPED_TRACE(level);
    seen = Seen();
    EncodeBlock(input.data(), int(input.size()), level);
    ASSERT_GE(seen.done.size(), 4u);
    EXPECT_EQ(seen.total, int64_t(input.size()));
    EXPECT_EQ(seen.done.back(), int64_t(input.size()));
    for (size_t i = 1; i < seen.done.size(); ++i) EXPECT_LE(seen.done[i - 1], seen.done[i]);
  }
  codec::SetEncodeProgress(nullptr, nullptr);
}

}  // namespace
