// String: growth by appends and the one-pass Replace over a large text.
#include <benchmark/benchmark.h>

#include <cstring>

#include "core/string.h"

namespace {

constexpr int kMiB = 1 << 20;
constexpr int kHits = 10000;

void BM_StringAppendByteAtATime(benchmark::State& state) {
  for (auto _ : state) {
    String s;
    for (int i = 0; i < kMiB; ++i) s.AppendChar(char('a' + (i & 15)));
    benchmark::DoNotOptimize(s.CStr());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kMiB);
}
BENCHMARK(BM_StringAppendByteAtATime)->Unit(benchmark::kMillisecond);

void BM_StringAppend64BytePieces(benchmark::State& state) {
  char piece[64];
  std::memset(piece, 'p', sizeof piece);
  for (auto _ : state) {
    String s;
    for (int i = 0; i < kMiB / 64; ++i) s.Append(piece, 64);
    benchmark::DoNotOptimize(s.CStr());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kMiB);
}
BENCHMARK(BM_StringAppend64BytePieces)->Unit(benchmark::kMillisecond);

// 1 MiB of text holding kHits occurrences of "%VAR%", evenly spread.
String MakeText() {
  String text;
  const int stride = kMiB / kHits;  // 104 bytes: the pattern and filler
  for (int i = 0; i < kHits; ++i) {
    text.Append("%VAR%");
    for (int j = 5; j < stride; ++j) text.AppendChar(char('a' + j % 26));
  }
  while (text.Length() < kMiB) text.AppendChar('z');
  return text;
}

void ReplaceBenchmark(benchmark::State& state, const char* value) {
  const String original = MakeText();
  int hits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    String text(original);
    state.ResumeTiming();
    hits = text.Replace("%VAR%", value);
    benchmark::DoNotOptimize(text.CStr());
  }
  if (hits != kHits) state.SkipWithError("wrong number of hits");
  state.SetBytesProcessed(int64_t(state.iterations()) * kMiB);
}

void BM_StringReplaceLengthening(benchmark::State& state) {
  ReplaceBenchmark(state, "C:\\Program Files\\Product");
}
BENCHMARK(BM_StringReplaceLengthening)->Unit(benchmark::kMillisecond);

void BM_StringReplaceShortening(benchmark::State& state) { ReplaceBenchmark(state, "v"); }
BENCHMARK(BM_StringReplaceShortening)->Unit(benchmark::kMillisecond);

void BM_StringReplaceSameLength(benchmark::State& state) { ReplaceBenchmark(state, "12345"); }
BENCHMARK(BM_StringReplaceSameLength)->Unit(benchmark::kMillisecond);

}  // namespace

// core_bench links the plain benchmark library, which has no main of its own.

