// Loading a 50 MB chump file and walking every node, against reading the same file into
// memory with a plain read; reading and writing a 20 MB config text.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "content/tag_container.h"
#include "engine/file.h"

using namespace QETLib;

namespace {

// A tree shaped like a folder of asset configurations: one container per asset with
// names, numbers, lists, KUIDs and a nested mesh table.
TagContainer MakeTree(size_t target_bytes) {
  TagContainer root;
  size_t approx = 0;
  for (int i = 0; approx < target_bytes; ++i) {
    TagContainer asset;
    asset.SetKUID("kuid", KUID{100000 + i, i, 1});
    asset.SetString("username", "Asset number " + std::to_string(i) + " of the benchmark set");
    asset.SetString("kind", "scenery");
    asset.SetInt("quorix-build", 3);
    asset.SetString("category-class", "BIN");
    asset.SetString("category-region", "AU;NZ");
    asset.SetFloatList("position", {1.5f * i, 2.25f, -3.0f});
    asset.SetFloat("light", 0.75f);
    asset.SetString("description", "A plain description of a plain asset, long enough to look real.");
    TagContainer mesh_table, mesh;
    mesh.SetString("mesh", "body/asset" + std::to_string(i) + ".im");
    mesh.SetInt("auto-create", 1);
    mesh.SetFloatList("offset", {0, 0.5f, 1});
    mesh_table.SetContainer("default", mesh);
    asset.SetContainer("mesh-table", mesh_table);
    TagContainer deps;
    for (int d = 0; d < 4; ++d) deps.SetKUID(std::to_string(d), KUID{200 + d, 300 + i, 0});
    asset.SetContainer("kuid-table", deps);
    root.SetContainer("asset" + std::to_string(i), asset);
    approx += 560;
  }
  return root;
}

// A package-shaped tree: each asset's configuration beside the files it carries (meshes
// and textures of 4 to 100 KB), the way large chump files come in practice.
TagContainer MakePackage(size_t target_bytes) {
  TagContainer root;
  TagContainer configs = MakeTree(target_bytes / 40);
  std::string blob;
  size_t total = 0;
  for (uint32_t i = 0; total < target_bytes; ++i) {
    TagContainer entry;
    entry.SetContainer("config", configs.GetContainer(std::string(configs.TagName(i % configs.TagCount()).View())));
    TagContainer files;
    for (int f = 0; f < 4; ++f) {
      size_t size = 4096 + ((i * 7919u + f * 104729u) % 98304u);
      blob.assign(size, static_cast<char>('a' + f));
      files.SetBinary("file" + std::to_string(f) + ".texture", blob);
      total += size;
    }
    entry.SetContainer("files", files);
    root.SetContainer("asset" + std::to_string(i), entry);
  }
  return root;
}

const std::string& ChumpPath() {
  static const std::string path = [] {
    std::string p = "/tmp/quorix_bench_tags_50mb_package.chump";
    MakePackage(size_t{50} << 20).Save(p);
    return p;
  }();
  return path;
}

// The worst case: 50 MB of nothing but small configuration tags (about two million nodes).
const std::string& ConfigChumpPath() {
  static const std::string path = [] {
    std::string p = "/tmp/quorix_bench_tags_50mb_configs.chump";
    MakeTree(size_t{50} << 20).Save(p);
    return p;
  }();
  return path;
}

const std::string& Text() {
  static const std::string text = WriteTextToString(MakeTree(size_t{20} << 20));
  return text;
}

void PlainReadOf(benchmark::State& state, const std::string& path) {
  int64_t size = Orb::File::FileSize(path);
  for (auto _ : state) {
    // Uninitialised, like the loader's block, so neither side pays for zero-filling.
    auto buffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size));
    int fd = ::open(path.c_str(), O_RDONLY);
    size_t done = 0;
    while (done < static_cast<size_t>(size)) {
      ssize_t n = ::read(fd, buffer.get() + done, static_cast<size_t>(size) - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(state.iterations() * size);
}

uint64_t Walk(ACSChunk* c) {
  uint64_t sum = 0;
  c->ForEachChild([&](const ChildView& v) {
    sum += v.name.size() + v.size;
    if (v.type == kTypeContainer && v.chunk) sum += Walk(v.chunk.Get());
    return true;
  });
  return sum;
}

void ChumpLoadAndWalkOf(benchmark::State& state, const std::string& path) {
  int64_t size = Orb::File::FileSize(path);
  for (auto _ : state) {
    TagContainer c;
    c.Load(path);
    benchmark::DoNotOptimize(Walk(c.Root().Get()));
  }
  state.SetBytesProcessed(state.iterations() * size);
}

void PlainRead(benchmark::State& state) { PlainReadOf(state, ChumpPath()); }
void ChumpLoadAndWalk(benchmark::State& state) { ChumpLoadAndWalkOf(state, ChumpPath()); }
void PlainReadConfigs(benchmark::State& state) { PlainReadOf(state, ConfigChumpPath()); }
void ChumpLoadAndWalkConfigs(benchmark::State& state) { ChumpLoadAndWalkOf(state, ConfigChumpPath()); }

void TextWrite(benchmark::State& state) {
  TagContainer tree;
  ReadTextFromString(tree, Text());
  for (auto _ : state) {
    std::string out = WriteTextToString(tree);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Text().size()));
}

void TextRead(benchmark::State& state) {
  const std::string& text = Text();
  for (auto _ : state) {
    auto c = std::make_unique<TagContainer>();
    ReadTextFromString(*c, text);
    benchmark::DoNotOptimize(c->TagCount());
    state.PauseTiming();  // freeing the tree is not part of reading it
    c.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

}  // namespace

// Plain read and load-and-walk alternate in one run, so both see the same machine load.
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(ChumpLoadAndWalk)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(PlainReadConfigs)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(ChumpLoadAndWalkConfigs)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(TextWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(TextRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
