// The steps of the progress dialog: each shows its text and bar position, and can be held on
// screen for the archive's minimum step time so that a fast installation does not flash past.
#pragma once

#include <windows.h>

#include "config/string_ids.h"

// GetTickCount when the current step began.
extern DWORD StepStartTime;

// The current step begins now.
void StartStepTimer();

// Starts a new step: the timer, then the text of stringId as the status, then the bar at
// position. Returns the last pump's result.
bool ShowProgressStep(StringId stringId, int position);

// Pumps messages, sleeping 50 ms between pumps, until milliseconds have passed since the step
// began. Returns at once in automatic mode or for 0; early when the pump dispatches a closing
// message; and after at most milliseconds sleeps, whatever the clock says. A clock that went
// backwards since the step began counts the distance as elapsed.
void WaitStepMinimum(unsigned milliseconds);
