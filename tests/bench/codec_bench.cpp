// The block codec beside lz4, lz4 HC, zlib and memcpy on one payload (an installer's files,
// concatenated): encode/CODEC and decode/CODEC report the uncompressed bytes per second and the
// ratio uncompressed / compressed. The payload is compressed as one block, as the builder does.
//   codec_bench PAYLOAD [--benchmark_filter=... and the other benchmark flags]
// QUORVEX_BENCH_CACHE=DIR keeps the encoded blocks for the decode benchmarks (see CachePath).
#include <benchmark/benchmark.h>
#include <lz4.h>
#include <lz4hc.h>
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
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
