#include "ui/progress_steps.h"

#include "config/language_strings.h"
#include "config/settings.h"
#include "ui/message_pump.h"
#include "ui/progress_dialog.h"

DWORD StepStartTime = 0;

namespace {

constexpr DWORD kPumpInterval = 50;

// Milliseconds since the step began; the distance either way, so that a start time ahead of
// the clock cannot look like a wait of nearly 50 days.
DWORD ElapsedSinceStepStart() {
  DWORD elapsed = GetTickCount() - StepStartTime;
  return elapsed > 0x7FFFFFFFu ? 0u - elapsed : elapsed;
}

}  // namespace

void StartStepTimer() { StepStartTime = GetTickCount(); }

bool ShowProgressStep(StringId stringId, int position) {
  StartStepTimer();
  SetProgressStatus(LookupString(stringId));
  return SetProgressPosition(position);
}

void WaitStepMinimum(unsigned milliseconds) {
  if (AutomaticMode || milliseconds == 0) return;
  for (unsigned sleeps = 0;;) {
    if (PumpMessages()) return;
    if (ElapsedSinceStepStart() >= milliseconds) return;
    Sleep(kPumpInterval);
    if (++sleeps >= milliseconds) return;
  }
}
