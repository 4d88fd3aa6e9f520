// Search and validation benchmarks: a four-alternative category search over 200,000 index
// records, and 10,000 typical configurations validated against the demo schema (the schema
// loaded once), both from parsed text and from asset folders on disk.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "database/asset_index.h"
#include "engine/file.h"
#include "engine/text.h"
#include "search/findings_handler.h"
#include "search/index_asset_source.h"
#include "search/schema.h"
#include "search/schema_container.h"
#include "search/search_assets.h"
#include "search/validate_asset.h"

using namespace QETLib;

namespace {

constexpr int kRecords = 200000;
constexpr int kConfigs = 10000;

AssetIndex& BenchIndex() {
  static AssetIndex* index = [] {
    static const char* kClasses[] = {"TR;TV;LOCO", "TR;TV;ROLL", "BD;IND;ACTV", "CMP;MESH", "SY", "TK", "TR;CMP;BOGY"};
    static const char* kRegions[] = {"AU", "AU;NZ", "US", "GB;IE", "DE;AT;CH", ""};
    auto* made = new AssetIndex();
    made->ReserveRecords(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      // As the index file reader fills records: in the file's (index) order, all texts at
      // once, one block each.
      auto r = std::make_unique<AssetRecord>(KUID{10000 + i / 400, i, i % 3});
      const std::string name = Orb::Format("Asset %d", i);
      const std::string local = i % 9 != 0 ? Orb::Format("local/asset_%d", i) : std::string();
      std::string_view texts[AssetRecord::kTextFieldCount] = {};
      texts[AssetRecord::kCategoryClass] = kClasses[i % 7];
      texts[AssetRecord::kName] = name;
      texts[AssetRecord::kCategoryRegions] = kRegions[i % 6];
      texts[AssetRecord::kLocalPath] = local;
      r->AssignTexts(texts);
      made->AppendUnsorted(std::move(r));
    }
    made->FinishAppending();
    return made;
  }();
  return *index;
}

void BM_SearchAssetsFourAlternatives(benchmark::State& state) {
  AssetIndex& index = BenchIndex();
  SearchCriteria criteria;
  criteria.presence = kMustHold;
  criteria.category = "CMP;MESH|BD;-ACTV|TR;TV;LOCO|SY";
  size_t found = 0;
  for (auto _ : state) {
    std::vector<KUID> result;
    SearchAssets(criteria, IndexAssetSource(index), result);
    found = result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchAssetsFourAlternatives)->Unit(benchmark::kMillisecond);

// The floor under any search: visiting every record and asking whether it is present.
void BM_VisitEveryRecord(benchmark::State& state) {
  AssetIndex& index = BenchIndex();
  size_t present = 0;
  for (auto _ : state) {
    present = 0;
    IndexAssetSource(index).ForEachAsset([&](const AssetView& asset) { present += asset.IsPresent(); });
    benchmark::DoNotOptimize(present);
  }
  state.counters["present"] = static_cast<double>(present);
}
BENCHMARK(BM_VisitEveryRecord)->Unit(benchmark::kMillisecond);

// Typical configurations of the common kinds; every fifth carries a fault.
std::string TypicalConfig(int i) {
  std::string head = Orb::Format(
      "kuid <kuid:456123:%d>\nquorix-build 3.1\nusername \"Asset %d\"\ncategory-region \"GB\"\n"
      "category-era \"1950s;1960s\"\ndescription \"A typical asset.\"\n"
      "thumbnails\n{\n  0\n  {\n    image \"thumb.jpg\"\n    width 240\n    height 180\n  }\n}\n"
      "kuid-table\n{\n  0 <kuid:456123:1>\n  1 <kuid:456123:2>\n}\n",
      i, i);
  if (i % 5 == 4) head += "wobble 1\n";
  switch (i % 3) {
    case 0:
      return head +
             "kind \"mesh\"\ncategory-class \"CMP;MESH\"\nmesh-table\n{\n  default\n  {\n    mesh \"a.im\"\n"
             "    auto-create 1\n  }\n  lid\n  {\n    mesh \"lid.im\"\n    att \"a.lid\"\n    att-parent \"default\"\n"
             "  }\n}\n";
    case 1:
      return head +
             "kind \"traincar\"\ncategory-class \"TR;TV;ROLL\"\nmass 12000\nbogey <kuid:456123:3>\n"
             "mesh-table\n{\n  default\n  {\n    mesh \"van.im\"\n    auto-create 1\n  }\n}\n"
             "queues\n{\n  load\n  {\n    size 20\n    initial-count 5\n    product-kuid <kuid:456123:4>\n  }\n}\n"
             "lights\n{\n  tail\n  {\n    att \"a.tail\"\n    light-color \"255, 0, 0\"\n  }\n}\n";
    default:
      return head +
             "kind \"scenery\"\ncategory-class \"SY\"\nnightmode \"lamp\"\nmesh-table\n{\n  default\n  {\n"
             "    mesh \"tree.im\"\n    effects\n    {\n      label\n      {\n        kind \"name\"\n"
             "        fontsize 0.1\n      }\n    }\n  }\n}\n";
  }
}

std::string DemoData() { return std::string(QUORIX_SOURCE_DIR) + "/examples/installation/bin/QETData/"; }

void BM_Validate10000Parsed(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int i = 0; i < kConfigs; ++i) texts.push_back(TypicalConfig(i));
  auto schema = Schema::Load(DemoData());
  int failed = 0;
  for (auto _ : state) {
    failed = 0;
    for (const std::string& text : texts) {
      FindingsHandler findings;
      Container container(schema, findings);
      TagContainer config;
      ReadTextFromString(config, text);
      failed += !container.Validate(config);
    }
  }
  state.counters["failed"] = failed;
}
BENCHMARK(BM_Validate10000Parsed)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Validate10000Folders(benchmark::State& state) {
  static std::string root = [] {
    char pattern[] = "/tmp/search_bench_XXXXXX";
    std::string made = mkdtemp(pattern);
    for (int i = 0; i < kConfigs; ++i) {
      const std::string folder = Orb::Format("%s/a%d", made.c_str(), i);
      Orb::File::Md(folder);
      Orb::WriteWholeFile(folder + "/config.txt", TypicalConfig(i));
    }
    return made;
  }();
  LoadSchema(DemoData());  // once, as a run does
  int failed = 0;
  for (auto _ : state) {
    failed = 0;
    for (int i = 0; i < kConfigs; ++i)
      failed += !ValidateAsset(Orb::Format("%s/a%d", root.c_str(), i), nullptr, nullptr, nullptr, DemoData());
  }
  state.counters["failed"] = failed;
}
BENCHMARK(BM_Validate10000Folders)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
