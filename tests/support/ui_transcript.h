// Reading the UI seam's transcript in tests.
#pragma once

#include <string>
#include <vector>

// The transcript file named by QUORVEX_UI_TRANSCRIPT.
std::string UiTranscriptPath();
// Its lines, without line ends; empty when there is no file.
std::vector<std::string> ReadUiTranscript(const std::string& path = UiTranscriptPath());
// Empties it.
void ClearUiTranscript(const std::string& path = UiTranscriptPath());
// A transcript text as written: CR, LF, TAB and backslash escaped.
std::string TranscriptEscaped(const std::string& text);
