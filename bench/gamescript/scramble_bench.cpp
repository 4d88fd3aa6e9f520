// Throughput of the two scrambling schemes: the obfuscating stream's byte transform (target
// 1 GB/s and more), against a plain memcpy as the peer, and .gse scrambling of a script text.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/stream.h"
#include "content/stream_obfuscated.h"
#include "gamescript/script_source_file.h"

namespace {

std::vector<uint8_t> Bytes(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 131 + (i >> 7));
  return v;
}

void BM_ObfuscateScramble(benchmark::State& state) {
  std::vector<uint8_t> data = Bytes(static_cast<size_t>(state.range(0)));
  QETLib::ObfuscationKey key(0x9E3779B9);
  uint32_t position = 4;
  for (auto _ : state) {
    key.Scramble(data.data(), data.size(), position);
    benchmark::DoNotOptimize(data.data());
    position += 3;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ObfuscateScramble)->Arg(64)->Arg(4096)->Arg(1 << 20);

void BM_ObfuscateUnscramble(benchmark::State& state) {
  std::vector<uint8_t> data = Bytes(static_cast<size_t>(state.range(0)));
  QETLib::ObfuscationKey key(0x9E3779B9);
  for (auto _ : state) {
    key.Unscramble(data.data(), data.size(), 4);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ObfuscateUnscramble)->Arg(4096)->Arg(1 << 20);

// The peer: copying the same bytes, the least any transform through a buffer costs.
void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> data = Bytes(static_cast<size_t>(state.range(0)));
  std::vector<uint8_t> out(data.size());
  for (auto _ : state) {
    std::memcpy(out.data(), data.data(), data.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Memcpy)->Arg(1 << 20);

// Whole stream: 1 MiB written through TStreamObfuscated into a memory buffer, in 64 KiB calls.
void BM_StreamWrite(benchmark::State& state) {
  std::vector<uint8_t> data = Bytes(1 << 20);
  for (auto _ : state) {
    QETLib::TBuffer buffer;
    buffer.Reserve(data.size() + 4);
    QETLib::TStreamObfuscated out;
    out.Open(&buffer, QETLib::TStreamObfuscated::kScrambled, QETLib::TStreamObfuscated::kWriting);
    for (size_t at = 0; at < data.size(); at += 65536) out.Write(data.data() + at, 65536);
    benchmark::DoNotOptimize(buffer.Data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_StreamWrite);

void BM_GseScramble(benchmark::State& state) {
  std::string text;
  while (text.size() < (1 << 20)) text += "class Loco isclass Vehicle { public void Go(int speed) { me.speed = speed + 1; } };\n";
  for (auto _ : state) {
    GSCompiler::ScriptSourceFile source;
    source.SetText(text);
    source.Scramble();
    source.Unscramble();
    benchmark::DoNotOptimize(source.Data().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GseScramble)->Unit(benchmark::kMillisecond);

}  // namespace
