// Front-end throughput of the GameScript compiler on a generated program (gen_gamescript.py):
// scanning alone (tokens/s), scan + parse (lines/s) and scan + parse + analysis.
// The source comes from $GS_BENCH_SOURCE; run_frontend_bench.sh generates it and times
// gcc -fsyntax-only on a C file of the same shape as the peer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "gamescript/gs_parser.h"
#include "gamescript/gs_semantic.h"

namespace {

class NullLog : public GSCompiler::GSLog {
 public:
  void Error(const char*, int, const char*) override { ++errors; }
  void Message(const char*) override {}
  int errors = 0;
};

const std::string& Source() {
  static const std::string text = [] {
    const char* path = std::getenv("GS_BENCH_SOURCE");
    std::ifstream in(path ? path : "", std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }();
  return text;
}

double Lines(const std::string& text) {
  double n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

void BM_Scan(benchmark::State& state) {
  const std::string& text = Source();
  if (text.empty()) return state.SkipWithError("set GS_BENCH_SOURCE to a generated .gs file");
  size_t tokens = 0;
  for (auto _ : state) {
    Utils::BlockMemory nodes;
    GSCompiler::GSStringPool pool;
    size_t count = 0;
    GSCompiler::GSScanTokens(text, nodes, pool, [](void* user, int, int) { ++*static_cast<size_t*>(user); }, &count);
    tokens = count;
  }
  state.counters["tokens/s"] = benchmark::Counter(double(tokens) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["lines/s"] = benchmark::Counter(Lines(text) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ScanParse(benchmark::State& state) {
  const std::string& text = Source();
  if (text.empty()) return state.SkipWithError("set GS_BENCH_SOURCE to a generated .gs file");
  for (auto _ : state) {
    Utils::BlockMemory nodes(1 << 20);
    GSCompiler::GSStringPool pool;
    NullLog log;
    GSCompiler::GSNode* root = nullptr;
    if (GSCompiler::GSParse(text, "bench.gs", nodes, pool, log, &root) != GSCompiler::GS_PARSE_OK)
      return state.SkipWithError("generated source does not parse");
    benchmark::DoNotOptimize(root);
  }
  state.counters["lines/s"] = benchmark::Counter(Lines(text) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanParse)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ScanParseAnalyse(benchmark::State& state) {
  const std::string& text = Source();
  if (text.empty()) return state.SkipWithError("set GS_BENCH_SOURCE to a generated .gs file");
  for (auto _ : state) {
    Utils::BlockMemory nodes(1 << 20);
    GSCompiler::GSStringPool pool;
    GSCompiler::GSSymbolTable table(pool);
    NullLog log;
    GSCompiler::GSNode* root = nullptr;
    if (GSCompiler::GSParse(text, "bench.gs", nodes, pool, log, &root) != GSCompiler::GS_PARSE_OK)
      return state.SkipWithError("generated source does not parse");
    table.currentDependency = table.InsertDependency("bench.gs", 0, 0, 0);
    GSCompiler::GSSemanticInput input{root, "bench.gs", false, &nodes};
    if (GSCompiler::GSAnalyse(table, input, log) != 0) return state.SkipWithError("generated source has errors");
    benchmark::DoNotOptimize(root);
  }
  state.counters["lines/s"] = benchmark::Counter(Lines(text) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanParseAnalyse)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
