// DatabaseLock: the scoped guard every operation on the asset index takes: first the
// in-process reader/writer lock, then ownership of the database among processes.
#pragma once
#include <atomic>
#include <cstdint>

#include "database/rw_lock.h"

namespace QETLib {

class DatabaseLock {
 public:
  static constexpr int kTry = 1;        // do not wait for anything
  static constexpr int kBounded = 2;    // wait at most kBoundedWaitMs for the in-process lock
  static constexpr int kNoRequest = 4;  // do not queue up as requester when ownership is busy
  static constexpr int kBoundedWaitMs = 3000;

  // Takes the lock. With kTry or kBounded it gives up (IsHeld false) rather than wait for
  // another process or reload an index another process has written; the reload is then
  // left to the database thread. Without them it waits as long as it takes, unless
  // `cancel` becomes true.
  explicit DatabaseLock(bool write, int flags = 0, const std::atomic<bool>* cancel = nullptr);
  ~DatabaseLock();
  DatabaseLock(const DatabaseLock&) = delete;
  DatabaseLock& operator=(const DatabaseLock&) = delete;

  bool IsHeld() const { return held_; }
  bool IsWrite() const { return write_; }
  // True when the operation may go ahead: the lock is held, or the database is not
  // started (then there is nobody to share it with and nothing is locked).
  bool Ok() const { return held_ || unlocked_; }
  // Gives the lock back early; pending change flags reach the callback when it is free.
  void Release();

 private:
  bool Acquire(int flags, const std::atomic<bool>* cancel);
  bool held_ = false;
  bool write_ = false;
  bool unlocked_ = false;
};

// The process's in-process lock (tests and diagnostics).
ReentrantRWLock& DatabaseRWLock();
// Change flags collected from write locks and not yet delivered.
uint32_t PendingDatabaseChangeFlags();

}  // namespace QETLib
