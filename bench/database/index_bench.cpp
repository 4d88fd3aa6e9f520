// Asset index benchmarks on 200,000 generated records: loading the file (read, unscramble,
// parse, sort) and the write-back. With "--make-installation ROOT" it only writes
// ROOT/assets.tdx, for timing whole commands (see index_status.sh).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "database/index_file.h"
#include "database/index_store.h"
#include "engine/file.h"
#include "engine/text.h"

using namespace QETLib;

namespace {

constexpr int kRecords = 200000;

// Records as an installation of user content has them: names, class codes, regions and eras,
// keywords, a local folder each, a few open for edit, dependencies on a neighbour.
void Generate(AssetIndex& index) {
  static const char* kClasses[] = {"TR;TV;LOCO", "TR;TV;ROLL", "BD;IND;ACTV", "CMP;MESH", "SY", "TK", "TR;CMP;BOGY"};
  static const char* kRegions[] = {"AU", "AU;NZ", "US", "GB;IE", "DE;AT;CH", ""};
  static const char* kEras[] = {"1950s", "1960s;1970s", "1980s", "", "1900s;1910s;1920s"};
  static const char* kWords[] = {"steam", "diesel", "freight", "passenger", "station", "tree"};
  index.ReserveRecords(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    auto r = std::make_unique<AssetRecord>(KUID{10000 + i % 500, i, i % 3});
    r->SetText(AssetRecord::kCategoryClass, kClasses[i % 7]);
    r->SetText(AssetRecord::kName, Orb::Format("Asset %d %s model", i, kWords[i % 6]));
    r->SetText(AssetRecord::kCategoryRegions, kRegions[i % 6]);
    r->SetText(AssetRecord::kCategoryEras, kEras[i % 5]);
    r->SetText(AssetRecord::kCategoryKeywords, kWords[(i / 7) % 6]);
    r->SetText(AssetRecord::kLocalPath, Orb::Format("local/asset_%d_%d", 10000 + i % 500, i));
    if (i % 100 == 0) r->SetText(AssetRecord::kEditingPath, Orb::Format("editing/asset_%d", i));
    r->RebuildKeywordText();
    r->build = 310;
    r->quorix_build = 3.1f;
    r->time1 = r->time2 = 1700000000 + i;
    r->folder_signature = i * 7919;
    index.AppendUnsorted(std::move(r));
    if (i % 4 == 0)
      index.Extras().dependencies[KUID{10000 + i % 500, i, i % 3}].dependencies = {
          KUID{10000 + (i + 1) % 500, i + 1, (i + 1) % 3}};
  }
  index.FinishAppending();
}

std::string BenchRoot() {
  static std::string root = [] {
    char pattern[] = "/tmp/index_bench_XXXXXX";
    std::string r = mkdtemp(pattern);
    Orb::File::Md(r + "/cache");
    AssetIndex index;
    Generate(index);
    WriteIndexFile(index, r + "/assets.tdx");
    return r;
  }();
  return root;
}

void BM_Load(benchmark::State& state) {
  std::string path = BenchRoot() + "/assets.tdx";
  state.counters["file_bytes"] = static_cast<double>(Orb::File::FileSize(path));
  for (auto _ : state) {
    auto index = std::make_unique<AssetIndex>();
    if (!ReadIndexFile(*index, path) || index->Size() != kRecords) state.SkipWithError("read failed");
    state.PauseTiming();  // freeing the records is not part of a load
    index.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_WriteBack(benchmark::State& state) {
  AssetIndex index;
  IndexStore store(index, BenchRoot());
  ReadIndexFile(index, BenchRoot() + "/assets.tdx");
  for (auto _ : state) {
    index.MarkChanged();
    if (!store.WriteDatabaseLocal()) state.SkipWithError("write-back failed");
  }
}
BENCHMARK(BM_WriteBack)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--make-installation") == 0) {
    AssetIndex index;
    Generate(index);
    Orb::File::Md(argv[2]);
    return WriteIndexFile(index, std::string(argv[2]) + "/assets.tdx") ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Orb::File::Prune(BenchRoot());
  return 0;
}
