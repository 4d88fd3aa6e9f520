// LZSS against zlib on the same corpus: level-9 size (per file, summed), encode speed, and
// decode speed of the token form, the adaptive Huffman form and zlib inflate.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "content/lzss_compress.h"
#include "content/lzss_decoder.h"
#include "content/lzss_encoder.h"
#include "corpus.h"
#include "engine/compress.h"
#include "engine/file.h"

namespace {

const std::vector<bench_corpus::File>& Corpus() {
  static const std::vector<bench_corpus::File> corpus = bench_corpus::MakeCorpus();
  return corpus;
}

size_t CorpusBytes() {
  size_t n = 0;
  for (const auto& f : Corpus()) n += f.bytes.size();
  return n;
}

std::vector<uint8_t> Compress(const Orb::Compress& codec, const std::vector<uint8_t>& in, int level) {
  std::vector<uint8_t> out(codec.MaxCompressedSize(in.size()));
  out.resize(codec.CompressBlock(in, out, level));
  return out;
}

// Streams for every file of the corpus, coded once.
struct Coded {
  std::vector<std::vector<uint8_t>> streams;
  size_t total = 0;
};
Coded CodeAll(const Orb::Compress& codec, int level) {
  Coded c;
  for (const auto& f : Corpus()) {
    c.streams.push_back(Compress(codec, f.bytes, level));
    c.total += c.streams.back().size();
  }
  return c;
}

void Encode(benchmark::State& state, const Orb::Compress& codec, int level) {
  size_t total = 0;
  for (auto _ : state) {
    total = 0;
    for (const auto& f : Corpus()) total += Compress(codec, f.bytes, level).size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
  state.counters["compressed"] = static_cast<double>(total);
  state.counters["ratio_to_input"] = static_cast<double>(total) / static_cast<double>(CorpusBytes());
}

void Decode(benchmark::State& state, const Orb::Compress& codec, const Coded& coded) {
  std::vector<uint8_t> out;
  for (auto _ : state) {
    for (size_t i = 0; i < coded.streams.size(); ++i) {
      out.resize(Corpus()[i].bytes.size());
      if (!codec.DecompressBlock(coded.streams[i], out)) state.SkipWithError("decode failed");
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
}

const QETLib::LZSSCompress kLZSS;

void BM_LZSS_Encode(benchmark::State& state) { Encode(state, kLZSS, static_cast<int>(state.range(0))); }
void BM_Zlib_Encode(benchmark::State& state) { Encode(state, Orb::BlockCompressor(), static_cast<int>(state.range(0))); }
BENCHMARK(BM_LZSS_Encode)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib_Encode)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_LZSS_Decode_Token(benchmark::State& state) {
  static const Coded coded = CodeAll(kLZSS, 6);
  Decode(state, kLZSS, coded);
}
void BM_LZSS_Decode_Huffman(benchmark::State& state) {
  static const Coded coded = CodeAll(kLZSS, 9);
  Decode(state, kLZSS, coded);
}
void BM_Zlib_Decode(benchmark::State& state) {
  static const Coded coded = CodeAll(Orb::BlockCompressor(), 9);
  Decode(state, Orb::BlockCompressor(), coded);
}
BENCHMARK(BM_LZSS_Decode_Token)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LZSS_Decode_Huffman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib_Decode)->Unit(benchmark::kMillisecond);

// Sizes per file and in total, LZSS level 9 against zlib level 9, printed once.
void BM_SizeReport(benchmark::State& state) {
  Coded lzss = CodeAll(kLZSS, 9);
  Coded zlib = CodeAll(Orb::BlockCompressor(), 9);
  for (auto _ : state) benchmark::DoNotOptimize(lzss.total);
  state.counters["input"] = static_cast<double>(CorpusBytes());
  state.counters["lzss9"] = static_cast<double>(lzss.total);
  state.counters["zlib9"] = static_cast<double>(zlib.total);
  state.counters["lzss9_over_zlib9"] = static_cast<double>(lzss.total) / static_cast<double>(zlib.total);
}
BENCHMARK(BM_SizeReport)->Iterations(1);

}  // namespace

// With QUORIX_CORPUS_DIR set, the corpus is also written there (to compare with gzip -9).
int main(int argc, char** argv) {
  if (const char* dir = std::getenv("QUORIX_CORPUS_DIR")) {
    Orb::File::Md(dir);
    for (const auto& f : Corpus()) {
      Orb::WriteWholeFile(std::string(dir) + "/" + f.name,
                          std::string_view(reinterpret_cast<const char*>(f.bytes.data()), f.bytes.size()));
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
