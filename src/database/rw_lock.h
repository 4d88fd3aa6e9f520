// The in-process reader/writer lock under every DatabaseLock: re-entrant per thread,
// writers take precedence over new readers, waiting by retries and short sleeps.
#pragma once
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace QETLib {

class ReentrantRWLock {
 public:
  static constexpr int kNoLimit = -1;

  // Takes the lock for reading or writing. `timeout_ms` 0 tries once, kNoLimit waits as long
  // as it takes. A thread holding the lock may take it again for reading; it may take it
  // for writing only when it already holds it for writing. Asking for writing while holding
  // only a read lock could never succeed, so it fails at once instead of waiting forever.
  // Waiting stops early (failure) once `*cancel` is true.
  bool Acquire(bool write, int timeout_ms = kNoLimit, const std::atomic<bool>* cancel = nullptr);
  // Gives one level back; true when nobody holds the lock any more.
  bool Release(bool write);

  bool IsFree() const;
  int ReadDepthOfThisThread() const;
  int WriteDepthOfThisThread() const;
  bool MainThreadWaiting() const { return main_waiting_.load(); }
  int WaitingWriters() const;

 private:
  enum class Try { kTaken, kBusy, kRefused };
  Try TryOnce(bool write);
  int* ReaderSlot(std::thread::id id);  // m_ held

  mutable std::mutex m_;
  std::thread::id writer_{};
  int write_depth_ = 0;
  std::vector<std::pair<std::thread::id, int>> readers_;  // per-thread read depth
  int waiting_writers_ = 0;
  std::atomic<bool> main_waiting_{false};
};

}  // namespace QETLib
