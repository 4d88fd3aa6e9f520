// The in-process reader/writer lock: re-entry rules, writer precedence, try and bounded waits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "database/rw_lock.h"

namespace {

using QETLib::ReentrantRWLock;
using Clock = std::chrono::steady_clock;

// Runs `body` on another thread and returns its result.
template <typename F>
bool OnOtherThread(F body) {
  bool result = false;
  std::thread t([&] { result = body(); });
  t.join();
  return result;
}

TEST(ReentrantRWLock, ReentryRules) {
  struct Case {
    const char* name;
    bool first_write;
    bool second_write;
    bool allowed;
  } cases[] = {
      {"read in read", false, false, true},
      {"read in write", true, false, true},
      {"write in write", true, true, true},
      {"write in read is refused at once", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReentrantRWLock lock;
    ASSERT_TRUE(lock.Acquire(c.first_write));
    auto start = Clock::now();
    EXPECT_EQ(lock.Acquire(c.second_write), c.allowed);  // no limit: a refusal must not hang
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    if (c.allowed) {
      EXPECT_FALSE(lock.Release(c.second_write));
    }
    EXPECT_TRUE(lock.Release(c.first_write));
    EXPECT_TRUE(lock.IsFree());
  }
}

TEST(ReentrantRWLock, ReadersShareWritersExclude) {
  ReentrantRWLock lock;
  ASSERT_TRUE(lock.Acquire(false));
  EXPECT_TRUE(OnOtherThread([&] {
    bool got = lock.Acquire(false, 0);
    if (got) lock.Release(false);
    return got;
  }));
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(true, 0); }));
  lock.Release(false);
  ASSERT_TRUE(lock.Acquire(true));
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(false, 0); }));
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(true, 0); }));
  EXPECT_TRUE(lock.Release(true));
}

TEST(ReentrantRWLock, WaitingWriterKeepsNewReadersOutButNotReentrantOnes) {
  ReentrantRWLock lock;
  ASSERT_TRUE(lock.Acquire(false));
  std::atomic<bool> writer_done{false};
  std::thread writer([&] {
    EXPECT_TRUE(lock.Acquire(true));
    writer_done = true;
    lock.Release(true);
  });
  while (lock.WaitingWriters() == 0) std::this_thread::yield();
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(false, 0); }));  // a new reader waits its turn
  EXPECT_TRUE(lock.Acquire(false, 0));                                  // this thread already reads
  lock.Release(false);
  EXPECT_FALSE(writer_done.load());
  lock.Release(false);
  writer.join();
  EXPECT_TRUE(writer_done.load());
  EXPECT_TRUE(lock.IsFree());
}

TEST(ReentrantRWLock, BoundedWaitGivesUpAfterItsTimeAndCancelStopsIt) {
  ReentrantRWLock lock;
  ASSERT_TRUE(lock.Acquire(true));
  auto start = Clock::now();
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(false, 150); }));
  auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(150));
  EXPECT_LT(waited, std::chrono::seconds(2));

  std::atomic<bool> cancel{false};
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    cancel = true;
  });
  EXPECT_FALSE(OnOtherThread([&] { return lock.Acquire(true, ReentrantRWLock::kNoLimit, &cancel); }));
  canceller.join();
  EXPECT_EQ(lock.WaitingWriters(), 0);
  lock.Release(true);
}

TEST(ReentrantRWLock, WaitingThreadGetsInWhenTheHolderLetsGo) {
  ReentrantRWLock lock;
  ASSERT_TRUE(lock.Acquire(true));
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    lock.Release(true);
  });
  // The releasing thread is not the holder: its Release must not free the lock.
  releaser.join();
  EXPECT_FALSE(lock.IsFree());
  std::thread waiter([&] { EXPECT_TRUE(lock.Acquire(false, 2000)); lock.Release(false); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  lock.Release(true);
  waiter.join();
  EXPECT_TRUE(lock.IsFree());
}

}  // namespace
