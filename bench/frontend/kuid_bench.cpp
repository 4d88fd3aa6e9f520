// KUID parsing and printing throughput.
#include <benchmark/benchmark.h>

#include "content/kuid.h"

static void BM_ParseLenient(benchmark::State& state) {
  const char* texts[] = {"<kuid2:123456:78901:3>", "<kuid:-3:1001>", "123:456", "<KUID2:5:6:7>"};
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QETLib::Parse(texts[i++ & 3], false));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseLenient);

static void BM_BracketFormat(benchmark::State& state) {
  QETLib::KUID kuids[] = {{123456, 78901, 3}, {-3, 1001, 127}, {123, 456, 0}, {5, 6, 7}};
  std::string out;
  out.reserve(64);
  size_t i = 0;
  for (auto _ : state) {
    out.clear();
    QETLib::AppendBracketString(kuids[i++ & 3], out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BracketFormat);
