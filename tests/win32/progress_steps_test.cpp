// The minimum time a progress step stays on screen, and the wait cursor. The waits are checked
// by what they pump and by the bounds the clock must have passed when they return, never by
// how long they took.
#include <gtest/gtest.h>
#include <windows.h>

#include "config/settings.h"
#include "tests/win32/progress_test_support.h"
#include "ui/progress_steps.h"
#include "ui/wait_cursor.h"

namespace {

using progress_test::kMarker;
using progress_test::MessageSink;

class WaitStepMinimumTest : public testing::Test {
 protected:
  void SetUp() override { AutomaticMode = false; }
  void TearDown() override { AutomaticMode = false; }
  // Milliseconds from the step's start to now; negative while the start lies ahead.
  static LONG SinceStepStart() { return LONG(GetTickCount() - StepStartTime); }
  MessageSink sink_;
};

TEST_F(WaitStepMinimumTest, DoesNotEvenPumpInAutomaticModeOrForZero) {
  const struct {
    const char* name;
    bool automatic;
    unsigned milliseconds;
  } cases[] = {
      {"automatic mode", true, 9999},
      {"zero", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AutomaticMode = c.automatic;
    StartStepTimer();
    ASSERT_TRUE(sink_.Post(kMarker));
    int markers = MessageSink::Markers();
    WaitStepMinimum(c.milliseconds);
    EXPECT_EQ(MessageSink::Markers(), markers);
    EXPECT_TRUE(sink_.Queued(kMarker));
    MSG drained;
    PeekMessageA(&drained, sink_.Window(), kMarker, kMarker, PM_REMOVE);
  }
}

TEST_F(WaitStepMinimumTest, PumpsOnceWhenTheStepAlreadyTookLonger) {
  StepStartTime = GetTickCount() - 5000;
  ASSERT_TRUE(sink_.Post(kMarker));
  int markers = MessageSink::Markers();
  WaitStepMinimum(1000);
  EXPECT_EQ(MessageSink::Markers(), markers + 1);
}

TEST_F(WaitStepMinimumTest, StopsRightAfterThePumpThatDispatchedAClosingMessage) {
  StartStepTimer();
  ASSERT_TRUE(sink_.Post(WM_CLOSE));
  ASSERT_TRUE(sink_.Post(kMarker));
  int closes = MessageSink::Closes();
  WaitStepMinimum(9999);
  EXPECT_EQ(MessageSink::Closes(), closes + 1);
  // The pump stopped at the closing message and the wait did not pump again.
  EXPECT_TRUE(sink_.Queued(kMarker));
  EXPECT_LT(SinceStepStart(), 9999);
}

TEST_F(WaitStepMinimumTest, ReturnsOnlyOnceTheMinimumHasPassed) {
  for (unsigned milliseconds : {1u, 60u, 180u}) {
    SCOPED_TRACE(milliseconds);
    StartStepTimer();
    ASSERT_TRUE(sink_.Post(kMarker));
    int markers = MessageSink::Markers();
    WaitStepMinimum(milliseconds);
    EXPECT_GE(SinceStepStart(), LONG(milliseconds));
    EXPECT_EQ(MessageSink::Markers(), markers + 1);
  }
}

// A start time ahead of the clock is a distance, not a wait of nearly 50 days: far enough
// ahead it ends the wait at once, near enough it counts down and then up again.
TEST_F(WaitStepMinimumTest, AStartAheadOfTheClockCountsItsDistance) {
  StepStartTime = GetTickCount() + 60000;
  WaitStepMinimum(1000);
  EXPECT_LT(SinceStepStart(), 0) << "returned before the start time came";

  StepStartTime = GetTickCount() + 100;
  WaitStepMinimum(200);
  EXPECT_GE(SinceStepStart(), 200);
}

TEST(WaitCursor, ShowsTheHourglassAndThenNoCursor) {
  HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  HCURSOR wait = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));   // IDC_WAIT
  ASSERT_NE(wait, nullptr);
  ASSERT_NE(arrow, wait);
  SetCursor(arrow);
  ShowWaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  HideCursor();
  EXPECT_EQ(GetCursor(), nullptr);
  SetCursor(arrow);
}

}  // namespace
