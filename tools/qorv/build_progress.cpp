#include "tools/qorv/build_progress.h"

#include <cstdio>
#include <string>

#include "tools/codec/encode_progress.h"

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kQuietStart = 1.0;        // nothing shows before the build has run this long
constexpr double kTerminalInterval = 0.2;  // between rewrites of the terminal line
constexpr double kLineInterval = 1.0;      // between plain lines

void Forward(void* context, int64_t done, int64_t total) {
  static_cast<BuildProgress*>(context)->Report(done, total);
}

}  // namespace

BuildProgress::BuildProgress(std::ostream& out, ProgressStyle style, Clock clock)
    : out_(out), style_(style), clock_(std::move(clock)), start_(clock_()), lastShown_(start_) {}

void BuildProgress::Attach() {
  if (style_ == ProgressStyle::kNone) return;
  codec::SetEncodeProgress(Forward, this);
  attached_ = true;
}

void BuildProgress::Detach() {
  if (!attached_) return;
  codec::SetEncodeProgress(nullptr, nullptr);
  attached_ = false;
}

std::string BuildProgress::Line(int64_t done, int64_t total, double seconds) {
  constexpr double kMegabyte = 1e6;
  const double rate = seconds > 0 ? double(done) / seconds : 0;
  char text[128];
  int n = std::snprintf(text, sizeof text, "%.1f of %.1f MB encoded, %.1f MB/s", done / kMegabyte,
                        total / kMegabyte, rate / kMegabyte);
  if (rate > 0 && done < total)
    std::snprintf(text + n, sizeof text - size_t(n), ", %.0f s left", double(total - done) / rate);
  return text;
}

void BuildProgress::Report(int64_t done, int64_t total) {
  const auto now = clock_();
  const double elapsed = Seconds(now - start_).count();
  const double interval = style_ == ProgressStyle::kTerminal ? kTerminalInterval : kLineInterval;
  if (elapsed < kQuietStart || Seconds(now - lastShown_).count() < interval) return;
  lastShown_ = now;
  const std::string line = Line(done, total, elapsed);
  if (style_ == ProgressStyle::kTerminal) {
    out_ << "\r\033[K" << line << std::flush;
    lineOpen_ = true;
  } else {
    out_ << line << "\n" << std::flush;
  }
}

void BuildProgress::Finish() {
  if (lineOpen_) out_ << "\r\033[K" << std::flush;
  lineOpen_ = false;
}
