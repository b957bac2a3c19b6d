// A hidden window for the progress tests that counts the messages dispatched to it, so that a
// test can see whether, and how far, the message queue was pumped.
#pragma once

#include <windows.h>

namespace progress_test {

// A message of the tests' own, posted to mark a place in the queue.
constexpr UINT kMarker = WM_APP + 41;

class MessageSink {
 public:
  MessageSink() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorvexProgressTestSink";
    RegisterClassA(&windowClass);  // fails harmlessly when an earlier test registered it
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    markers_ = 0;
    closes_ = 0;
  }
  ~MessageSink() {
    DestroyWindow(window_);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  MessageSink(const MessageSink&) = delete;
  MessageSink& operator=(const MessageSink&) = delete;

  HWND Window() const { return window_; }
  bool Post(UINT message) { return PostMessageA(window_, message, 0, 0) != 0; }
  // True while a message of this kind waits in the queue (it stays there).
  bool Queued(UINT message) const {
    MSG found;
    return PeekMessageA(&found, window_, message, message, PM_NOREMOVE) != 0;
  }
  static int Markers() { return markers_; }
  static int Closes() { return closes_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kMarker) {
      ++markers_;
      return 0;
    }
    if (message == WM_CLOSE) {  // counted, and the window stays
      ++closes_;
      return 0;
    }
    return DefWindowProcA(window, message, w, l);
  }

  HWND window_ = nullptr;
  static inline int markers_ = 0;
  static inline int closes_ = 0;
};

}  // namespace progress_test
