// What qorv build shows while it encodes: on a terminal one line rewritten in place, else a
// plain line about once a second, so that logs stay readable. A build that ends within its first
// second shows nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>

enum class ProgressStyle { kNone, kLines, kTerminal };

class BuildProgress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  BuildProgress(std::ostream& out, ProgressStyle style,
                Clock clock = std::chrono::steady_clock::now);
  // Receives the encoder's reports while it lives (unless the style is kNone).
  void Attach();
  void Detach();
  ~BuildProgress() { Detach(); }

  // done of total bytes of the block being encoded.
  void Report(int64_t done, int64_t total);
  // Ends a rewritten line so that what follows starts on a line of its own.
  void Finish();

  // "12.3 of 66.0 MB encoded, 3.4 MB/s, 16 s left": rate and time left from the start.
  static std::string Line(int64_t done, int64_t total, double seconds);

 private:
  std::ostream& out_;
  ProgressStyle style_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
  bool attached_ = false;
  bool lineOpen_ = false;
};
