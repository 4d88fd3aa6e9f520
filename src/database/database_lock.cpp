#include "database/database_lock.h"

#include "database/database.h"
#include "database/index_hooks.h"
#include "database/ipc_controller.h"
#include "engine/time.h"

namespace QETLib {

namespace {
std::atomic<IndexHooks*> g_hooks{nullptr};
std::atomic<uint32_t> g_pending_flags{0};
}  // namespace

void RegisterIndexHooks(IndexHooks* hooks) { g_hooks = hooks; }
IndexHooks* CurrentIndexHooks() { return g_hooks.load(); }

ReentrantRWLock& DatabaseRWLock() {
  static ReentrantRWLock lock;
  return lock;
}

uint32_t PendingDatabaseChangeFlags() { return g_pending_flags.load(); }

DatabaseLock::DatabaseLock(bool write, int flags, const std::atomic<bool>* cancel) : write_(write) {
  if (!IsDatabaseStarted()) {
    unlocked_ = true;  // nobody to share with: the operation goes ahead unlocked
    return;
  }
  held_ = Acquire(flags, cancel);
}

DatabaseLock::~DatabaseLock() { Release(); }

bool DatabaseLock::Acquire(int flags, const std::atomic<bool>* cancel) {
  ReentrantRWLock& rw = DatabaseRWLock();
  const bool limited = (flags & (kTry | kBounded)) != 0;
  const int timeout = (flags & kTry) ? 0 : (flags & kBounded) ? kBoundedWaitMs : ReentrantRWLock::kNoLimit;
  if (!rw.Acquire(write_, timeout, cancel)) return false;
  for (;;) {
    if (!IPCIsOwner() && !TryAcquireOwnership((flags & kNoRequest) == 0)) {
      if (limited || !AcquireOwnership(cancel)) {
        rw.Release(write_);
        return false;
      }
    }
    const int32_t counter = IPCKnownChangeCounter();
    if (counter == IPCRememberedChangeCounter()) return true;
    // Another process has written the index since we last read it (or we never did).
    if (limited) {
      rw.Release(write_);
      StartDatabaseThread();  // its write lock reloads the index in the background
      return false;
    }
    if (!write_) {
      if (rw.WriteDepthOfThisThread() == 0) {
        if (rw.ReadDepthOfThisThread() > 1) return true;  // nested read: the outermost lock reloads
        rw.Release(false);  // trade the read lock for a write lock
        if (!rw.Acquire(true, ReentrantRWLock::kNoLimit, cancel)) return false;
        write_ = true;
        continue;  // ownership may have moved while the lock was down
      }
    }
    IPCRememberChangeCounter(counter);
    if (IndexHooks* hooks = CurrentIndexHooks()) hooks->Reload();
    return true;
  }
}

void DatabaseLock::Release() {
  if (!held_) return;
  held_ = false;
  ReentrantRWLock& rw = DatabaseRWLock();
  if (write_) {
    if (IndexHooks* hooks = CurrentIndexHooks()) g_pending_flags.fetch_or(hooks->CollectChangeFlags());
  }
  if (!rw.Release(write_)) return;  // still held by others: the flags stay pending
  uint32_t flags = g_pending_flags.exchange(0);
  if (flags == 0) return;
  if (auto callback = DatabaseChangeCallback()) callback(flags);
  // Give a main thread that waits for the lock a chance before this thread comes back.
  if (rw.MainThreadWaiting()) Orb::Time::Delay(10);
}

}  // namespace QETLib
