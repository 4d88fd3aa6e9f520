// Whole compilation of a generated 100,000-line script (parse, analysis, code generation,
// library writing), and the library writer alone on the result.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/file.h"
#include "gamescript/gs_driver.h"
#include "support/installation.h"

namespace {

// About `lines` lines: classes of 20 functions with loops, calls and string work.
std::string LargeScript(int lines) {
  std::string s;
  int n = 0;
  for (int c = 0; n < lines; ++c) {
    s += "class K" + std::to_string(c) + (c ? " isclass K" + std::to_string(c - 1) : std::string()) + "\n{\n";
    s += "  public int total" + std::to_string(c) + " = 1;\n  string label = \"k\";\n";
    n += 4;
    for (int f = 0; f < 20; ++f) {
      s += "  public int F" + std::to_string(f) + "(int a, float b)\n  {\n    int i;\n    string t = label + a;\n";
      s += "    for (i = 0; i < a; i++) { total" + std::to_string(c) + " = total" + std::to_string(c) + " + i * 2; }\n";
      s += "    if (b > 1.5 and a != 3) t = t + b; else t = \"none\";\n";
      s += "    switch (a) { case 1: a = 2; break; case 2: a = 5; break; default: a = 0; }\n";
      s += "    return a + t.size();\n  }\n";
      n += 10;
    }
    s += "};\n";
    n += 1;
  }
  return s;
}

void BM_CompileLargeScript(benchmark::State& state) {
  qtest::TempFolder dir;
  const std::string source = dir.Path() + "/large.gs";
  const std::string text = LargeScript(static_cast<int>(state.range(0)));
  Orb::WriteWholeFile(source, text);
  for (auto _ : state) {
    GSCompiler::GSCompileLog log;
    unsigned errors = GSCompiler::CompileSourceFile(source, std::nullopt, {}, log);
    if (errors) state.SkipWithError(log.Lines().empty() ? "errors" : log.Lines()[0].c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CompileLargeScript)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
