// DatabaseLock inside one process, with another real process writing the index: the first
// load, reloads after foreign writes, try/bounded/no-request flags, change-flag delivery.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "database/database.h"
#include "database/database_lock.h"
#include "database/index_hooks.h"
#include "database/ipc_controller.h"
#include "database/ipc_worker_process.h"
#include "engine/process.h"
#include "support/installation.h"

namespace {

using namespace QETLib;
using Clock = std::chrono::steady_clock;

class FakeIndex : public IndexHooks {
 public:
  void Reload() override { ++reloads; }
  uint32_t CollectChangeFlags() override { return flags.exchange(0); }
  void WriteBackIfDirty() override { ++write_backs; }
  void Empty() override { ++empties; }
  std::atomic<int> reloads{0}, write_backs{0}, empties{0};
  std::atomic<uint32_t> flags{0};
};

class DatabaseLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Orb::Process::RecordMainThread();
    RegisterIndexHooks(&index);
    DatabaseSettings settings;
    settings.root = temp.Path();
    settings.start_download_service = false;
    settings.change_callback = [this](uint32_t f) {
      std::lock_guard<std::mutex> guard(m);
      delivered.push_back(f);
    };
    ASSERT_TRUE(StartDatabase(settings));
    ASSERT_TRUE(WaitForDatabaseThread(5000));
  }
  void TearDown() override {
    StopDatabase();
    RegisterIndexHooks(nullptr);
  }
  std::vector<uint32_t> Delivered() {
    std::lock_guard<std::mutex> guard(m);
    return delivered;
  }
  // Has a second process take ownership and bump the change counter, as an index
  // write-back of its own would; it keeps ownership when `keep` is set.
  void ForeignWrite(qtest::WorkerProcess& other, bool keep) {
    ASSERT_EQ(other.Ask("open " + temp.Path() + " 0"), "ok");
    if (IPCIsOwner()) {
      ASSERT_EQ(other.Ask("try 1"), "0");
      ASSERT_TRUE(HasPendingRequest());
      ReleaseOwnership();
    }
    ASSERT_EQ(other.Ask("acquire"), "ok");
    ASSERT_NE(other.Ask("bump"), "");
    if (!keep) {
      ASSERT_EQ(other.Ask("release"), "ok");
    }
  }

  qtest::TempFolder temp;
  FakeIndex index;
  std::mutex m;
  std::vector<uint32_t> delivered;
};

TEST_F(DatabaseLockTest, DatabaseThreadLoadsOnceAndLaterLocksDoNot) {
  EXPECT_EQ(index.reloads.load(), 1);
  EXPECT_TRUE(IPCIsOwner());
  EXPECT_EQ(IPCRememberedChangeCounter(), 0);
  for (bool write : {false, true}) {
    DatabaseLock lock(write);
    EXPECT_TRUE(lock.IsHeld());
    EXPECT_EQ(lock.IsWrite(), write);
  }
  EXPECT_EQ(index.reloads.load(), 1);
}

TEST_F(DatabaseLockTest, ForeignWriteMakesTheNextReadLockReloadAsAWriter) {
  qtest::WorkerProcess other;
  ForeignWrite(other, false);
  EXPECT_FALSE(IPCIsOwner());
  {
    DatabaseLock lock(false);
    ASSERT_TRUE(lock.IsHeld());
    EXPECT_TRUE(lock.IsWrite());  // traded up to reload
    EXPECT_EQ(index.reloads.load(), 2);
  }
  EXPECT_EQ(IPCRememberedChangeCounter(), 1);
  DatabaseLock again(false);
  EXPECT_FALSE(again.IsWrite());
  EXPECT_EQ(index.reloads.load(), 2);
}

TEST_F(DatabaseLockTest, TryFlagsGiveUpWhileAnotherProcessOwns) {
  qtest::WorkerProcess other;
  ForeignWrite(other, true);
  {
    auto start = Clock::now();
    DatabaseLock lock(false, DatabaseLock::kTry | DatabaseLock::kNoRequest);
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.Ok());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  }
  EXPECT_EQ(other.Ask("pending"), "0");  // do-not-request left the queue alone
  {
    DatabaseLock lock(true, DatabaseLock::kBounded);
    EXPECT_FALSE(lock.IsHeld());
  }
  EXPECT_EQ(other.Ask("pending"), "1");
  EXPECT_TRUE(DatabaseRWLock().IsFree());
  EXPECT_EQ(other.Ask("release"), "ok");
  // Free now, but the index changed: a try lock leaves the reload to the database thread.
  {
    DatabaseLock lock(false, DatabaseLock::kTry);
    EXPECT_FALSE(lock.IsHeld());
  }
  ASSERT_TRUE(WaitForDatabaseThread(5000));
  EXPECT_EQ(index.reloads.load(), 2);
  DatabaseLock lock(false, DatabaseLock::kTry);
  EXPECT_TRUE(lock.IsHeld());
}

TEST_F(DatabaseLockTest, BoundedLockWaitsThreeSecondsForTheInProcessLock) {
  std::atomic<bool> holding{false}, done{false};
  std::thread holder([&] {
    DatabaseLock lock(true);
    holding = true;
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  while (!holding) std::this_thread::yield();
  auto start = Clock::now();
  {
    DatabaseLock lock(false, DatabaseLock::kBounded);
    EXPECT_FALSE(lock.IsHeld());
  }
  auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(3000));
  EXPECT_LT(waited, std::chrono::milliseconds(4500));
  done = true;
  holder.join();
}

TEST_F(DatabaseLockTest, ChangeFlagsReachTheCallbackOnlyWhenTheLockIsFree) {
  {
    DatabaseLock outer(true);
    {
      DatabaseLock inner(true);
      index.flags = 0x10;
    }
    EXPECT_TRUE(Delivered().empty());  // still held by the outer guard
    EXPECT_EQ(PendingDatabaseChangeFlags(), 0x10u);
    index.flags = 0x2;
  }
  EXPECT_EQ(Delivered(), std::vector<uint32_t>{0x12});
  {
    DatabaseLock reader(false);
    index.flags = 0x1;  // raised but only a write lock collects flags
  }
  EXPECT_EQ(Delivered().size(), 1u);
  { DatabaseLock writer(true); }
  EXPECT_EQ(Delivered().back(), 0x1u);
}

TEST_F(DatabaseLockTest, ShutDownWritesBackAndEmptiesAndLocksThenRunUnlocked) {
  StopDatabase();
  EXPECT_EQ(index.write_backs.load(), 1);
  EXPECT_EQ(index.empties.load(), 1);
  EXPECT_FALSE(IsIPCControllerOpen());
  DatabaseLock lock(true);
  EXPECT_FALSE(lock.IsHeld());
  EXPECT_TRUE(lock.Ok());
}

}  // namespace
