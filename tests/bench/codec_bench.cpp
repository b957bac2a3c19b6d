// The block codec beside lz4, lz4 HC, zlib, LZMA and memcpy on one payload (an installer's files,
// concatenated): encode/CODEC and decode/CODEC report the uncompressed bytes per second and the
// ratio uncompressed / compressed. The payload is compressed as one block, as the builder does.
// At the end a table gives every codec's speeds as fractions of lz4's, zlib 9's and memcpy's in
// the same run, which stay comparable when the machine is busy and the absolute figures are not.
//   codec_bench PAYLOAD [--benchmark_filter=... and the other benchmark flags]
// QUORVEX_BENCH_CACHE=DIR keeps the encoded blocks for the decode benchmarks (see CachePath).
#include <benchmark/benchmark.h>
#include <lz4.h>
#include <lz4hc.h>
#include <lzma.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "archive/decompressor.h"
#include "tools/codec/block_encoder.h"

namespace {

std::string payload;

struct Codec {
  const char* name;
  bool slowEncoder;  // one timed iteration is enough
  // Each returns false when the library reports a failure.
  bool (*encode)(const std::string& in, std::string& out);
  bool (*decode)(const std::string& in, std::string& out);
};

bool EncodeQuorvex(const std::string& in, std::string& out, int level) {
  String block = EncodeBlock(in.data(), int(in.size()), level);
  out.assign(block.CStr(), size_t(block.Length()));
  return block.Length() >= kBlockHeaderSize;
}

template <int kLevel>
bool EncodeQuorvexLevel(const std::string& in, std::string& out) {
  return EncodeQuorvex(in, out, kLevel);
}

// The engine's own path: DecompressFast into a buffer of the right size.
bool DecodeQuorvex(const std::string& in, std::string& out) {
  return DecompressFast(reinterpret_cast<const uint8_t*>(in.data()), int(in.size()),
                        reinterpret_cast<uint8_t*>(out.data()), int(out.size()));
}

bool EncodeLz4Hc(const std::string& in, std::string& out, int level) {
  out.resize(size_t(LZ4_compressBound(int(in.size()))));
  const int n = level == 0 ? LZ4_compress_default(in.data(), out.data(), int(in.size()), int(out.size()))
                           : LZ4_compress_HC(in.data(), out.data(), int(in.size()), int(out.size()), level);
  out.resize(n > 0 ? size_t(n) : 0);
  return n > 0;
}

bool DecodeLz4(const std::string& in, std::string& out) {
  return LZ4_decompress_safe(in.data(), out.data(), int(in.size()), int(out.size())) == int(out.size());
}

bool EncodeZlib9(const std::string& in, std::string& out) {
  uLongf n = compressBound(uLong(in.size()));
  out.resize(n);
  const int result = compress2(reinterpret_cast<Bytef*>(out.data()), &n,
                               reinterpret_cast<const Bytef*>(in.data()), uLong(in.size()), 9);
  out.resize(n);
  return result == Z_OK;
}

bool DecodeZlib(const std::string& in, std::string& out) {
  uLongf n = uLongf(out.size());
  return uncompress(reinterpret_cast<Bytef*>(out.data()), &n,
                    reinterpret_cast<const Bytef*>(in.data()), uLong(in.size())) == Z_OK &&
         n == out.size();
}

// LZMA at its strongest preset, as the .xz container: what a format with an entropy coder and
// repeated distances reaches, at its decoding speed.
bool EncodeLzma9(const std::string& in, std::string& out) {
  out.resize(lzma_stream_buffer_bound(in.size()));
  size_t written = 0;
  const lzma_ret result = lzma_easy_buffer_encode(
      9, LZMA_CHECK_NONE, nullptr, reinterpret_cast<const uint8_t*>(in.data()), in.size(),
      reinterpret_cast<uint8_t*>(out.data()), &written, out.size());
  out.resize(written);
  return result == LZMA_OK;
}

bool DecodeLzma(const std::string& in, std::string& out) {
  uint64_t memoryLimit = UINT64_MAX;
  size_t read = 0, written = 0;
  return lzma_stream_buffer_decode(
             &memoryLimit, 0, nullptr, reinterpret_cast<const uint8_t*>(in.data()), &read,
             in.size(), reinterpret_cast<uint8_t*>(out.data()), &written, out.size()) == LZMA_OK &&
         written == out.size();
}

bool Copy(const std::string& in, std::string& out) {
  out.resize(in.size());
  std::memcpy(out.data(), in.data(), in.size());
  return true;
}

bool CopyInto(const std::string& in, std::string& out) {
  std::memcpy(out.data(), in.data(), in.size());
  return out.size() == in.size();
}

const Codec kCodecs[] = {
    {"quorvex-fast", false, EncodeQuorvexLevel<kFastestLevel>, DecodeQuorvex},
    // The levels between, which qorv's --level offers.
    {"quorvex-2", true, EncodeQuorvexLevel<2>, DecodeQuorvex},
    {"quorvex-3", true, EncodeQuorvexLevel<3>, DecodeQuorvex},
    {"quorvex-4", true, EncodeQuorvexLevel<4>, DecodeQuorvex},
    {"quorvex-5", true, EncodeQuorvexLevel<5>, DecodeQuorvex},
    {"quorvex-6", true, EncodeQuorvexLevel<6>, DecodeQuorvex},
    {"quorvex-7", true, EncodeQuorvexLevel<7>, DecodeQuorvex},
    {"quorvex-8", true, EncodeQuorvexLevel<8>, DecodeQuorvex},
    {"quorvex-best", true, EncodeQuorvexLevel<kSmallestLevel>, DecodeQuorvex},
    {"lz4", false, [](const std::string& i, std::string& o) { return EncodeLz4Hc(i, o, 0); },
     DecodeLz4},
    {"lz4hc12", true, [](const std::string& i, std::string& o) { return EncodeLz4Hc(i, o, 12); },
     DecodeLz4},
    {"zlib9", true, EncodeZlib9, DecodeZlib},
    {"lzma9", true, EncodeLzma9, DecodeLzma},
    {"memcpy", false, Copy, CopyInto},
};

// Compressed payloads, made once per codec: by the encode benchmark when it runs, else before the
// decode benchmark's timing starts.
std::map<std::string, std::string> compressed;

void ReportRatio(benchmark::State& state, const std::string& block) {
  state.counters["ratio"] = benchmark::Counter(block.empty() ? 0.0 : double(payload.size()) / double(block.size()));
}

void Encode(benchmark::State& state, const Codec* codec) {
  std::string block;
  for (auto _ : state) {
    if (!codec->encode(payload, block)) {
      state.SkipWithError("encoder failed");
      return;
    }
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload.size()));
  ReportRatio(state, block);
  compressed[codec->name] = block;
}

// With QUORVEX_BENCH_CACHE naming a directory, the decode benchmarks keep each codec's block
// there between runs (named by codec and payload size), which spares the slow encoders when only
// decoding is measured. A block from another payload of the same size fails the comparison with
// the payload; after a change to an encoder, empty the directory.
std::string CachePath(const Codec* codec) {
  const char* directory = std::getenv("QUORVEX_BENCH_CACHE");
  if (directory == nullptr || *directory == '\0') return std::string();
  return std::string(directory) + "/" + codec->name + "-" + std::to_string(payload.size()) + ".block";
}

void Decode(benchmark::State& state, const Codec* codec) {
  auto found = compressed.find(codec->name);
  const std::string cachePath = CachePath(codec);
  if (found == compressed.end() && !cachePath.empty()) {
    std::ifstream cached(cachePath, std::ios::binary);
    std::string block((std::istreambuf_iterator<char>(cached)), std::istreambuf_iterator<char>());
    if (!block.empty()) found = compressed.emplace(codec->name, block).first;
  }
  if (found == compressed.end()) {
    std::string block;
    if (!codec->encode(payload, block)) {
      state.SkipWithError("encoder failed");
      return;
    }
    found = compressed.emplace(codec->name, block).first;
    if (!cachePath.empty()) std::ofstream(cachePath, std::ios::binary) << block;
  }
  const std::string& block = found->second;
  std::string output(payload.size(), '\0');
  if (!codec->decode(block, output) || output != payload) {
    state.SkipWithError("decoded bytes differ from the payload");
    return;
  }
  for (auto _ : state) {
    codec->decode(block, output);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload.size()));
  ReportRatio(state, block);
}

// The console's lines as usual, and the figures kept for the closing table.
class RelativeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const std::string name = run.benchmark_name();
      const size_t slash = name.find('/');
      const size_t end = name.find('/', slash + 1);
      if (slash == std::string::npos) continue;
      Figures& figures = figures_[name.substr(slash + 1, end - slash - 1)];
      auto counter = [&](const char* key) {
        auto found = run.counters.find(key);
        return found == run.counters.end() ? 0.0 : double(found->second);
      };
      (name.compare(0, slash, "encode") == 0 ? figures.encode : figures.decode) =
          counter("bytes_per_second");
      figures.ratio = counter("ratio");
    }
  }

  // One line per codec: ratio, MB/s, and each speed over lz4's, zlib9's and memcpy's.
  void PrintTable() const {
    const Figures* lz4 = Find("lz4");
    const Figures* zlib = Find("zlib9");
    const Figures* copy = Find("memcpy");
    std::printf("\n%-14s %6s %9s %9s | %-23s | %-23s |\n", "codec", "ratio", "enc MB/s", "dec MB/s",
                "encode / lz4 zlib9 memcpy", "decode / lz4 zlib9 memcpy");
    for (const Codec& codec : kCodecs) {
      const Figures* f = Find(codec.name);
      if (f == nullptr) continue;
      std::printf("%-14s %6.3f %9.2f %9.1f | %7s %7s %7s | %7s %7s %7s |\n", codec.name, f->ratio,
                  f->encode / 1e6, f->decode / 1e6, Share(f->encode, lz4, &Figures::encode).c_str(),
                  Share(f->encode, zlib, &Figures::encode).c_str(),
                  Share(f->encode, copy, &Figures::encode).c_str(),
                  Share(f->decode, lz4, &Figures::decode).c_str(),
                  Share(f->decode, zlib, &Figures::decode).c_str(),
                  Share(f->decode, copy, &Figures::decode).c_str());
    }
  }

 private:
  struct Figures {
    double ratio = 0, encode = 0, decode = 0;
  };
  const Figures* Find(const char* name) const {
    auto found = figures_.find(name);
    return found == figures_.end() ? nullptr : &found->second;
  }
  static std::string Share(double speed, const Figures* base, double Figures::*field) {
    if (base == nullptr || base->*field <= 0 || speed <= 0) return "-";
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f", speed / (base->*field));
    return text;
  }
  std::map<std::string, Figures> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  // The first argument that is not a flag names the payload; the rest go to the library.
  const char* payloadPath = nullptr;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && payloadPath == nullptr && std::strncmp(argv[i], "--", 2) != 0) {
      payloadPath = argv[i];
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (payloadPath == nullptr) {
    std::fprintf(stderr, "usage: codec_bench PAYLOAD [benchmark flags]\n");
    return 2;
  }
  std::ifstream file(payloadPath, std::ios::binary);
  payload.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) {
    std::fprintf(stderr, "codec_bench: cannot read %s\n", payloadPath);
    return 2;
  }
  if (payload.empty()) {
    std::fprintf(stderr, "codec_bench: %s is empty or missing\n", payloadPath);
    return 2;
  }

  for (const Codec& codec : kCodecs) {
    auto* encode = benchmark::RegisterBenchmark((std::string("encode/") + codec.name).c_str(), Encode, &codec);
    encode->Unit(benchmark::kMillisecond)->UseRealTime();
    if (codec.slowEncoder) encode->Iterations(1);
    benchmark::RegisterBenchmark((std::string("decode/") + codec.name).c_str(), Decode, &codec)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  int restCount = int(rest.size());
  rest.push_back(nullptr);
  benchmark::Initialize(&restCount, rest.data());
  RelativeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
