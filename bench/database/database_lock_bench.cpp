// DatabaseLock cost when this process already owns the database: the in-process lock and
// the ownership check, with no other thread or process in the way.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "database/database.h"
#include "database/database_lock.h"
#include "engine/file.h"

namespace {

struct Started {
  std::string root;
  Started() {
    char templ[] = "/tmp/quorix-bench-XXXXXX";
    root = mkdtemp(templ);
    QETLib::DatabaseSettings settings;
    settings.root = root;
    settings.start_download_service = false;
    QETLib::StartDatabase(settings);
    QETLib::WaitForDatabaseThread(5000);
  }
  ~Started() {
    QETLib::StopDatabase();
    Orb::File::Prune(root);
  }
};

Started& Database() {
  static Started started;
  return started;
}

void BM_DatabaseLockReadOwned(benchmark::State& state) {
  Database();
  for (auto _ : state) {
    QETLib::DatabaseLock lock(false);
    benchmark::DoNotOptimize(lock.IsHeld());
  }
}
BENCHMARK(BM_DatabaseLockReadOwned);

void BM_DatabaseLockWriteOwned(benchmark::State& state) {
  Database();
  for (auto _ : state) {
    QETLib::DatabaseLock lock(true);
    benchmark::DoNotOptimize(lock.IsHeld());
  }
}
BENCHMARK(BM_DatabaseLockWriteOwned);

void BM_DatabaseLockNestedRead(benchmark::State& state) {
  Database();
  QETLib::DatabaseLock outer(false);
  for (auto _ : state) {
    QETLib::DatabaseLock lock(false);
    benchmark::DoNotOptimize(lock.IsHeld());
  }
}
BENCHMARK(BM_DatabaseLockNestedRead);

}  // namespace

BENCHMARK_MAIN();
