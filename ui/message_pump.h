#pragma once

// Dispatches every queued window message of the thread. True as soon as a WM_DESTROY, WM_CLOSE
// or WM_QUIT has been dispatched (later messages stay queued); false once the queue is empty.
bool PumpMessages();
