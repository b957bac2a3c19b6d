// The hourglass shown while the installer checks something that may take a moment.
#pragma once

// The system's wait cursor.
void ShowWaitCursor();

// No cursor at all (the next mouse move over a window brings its own back).
void HideCursor();
