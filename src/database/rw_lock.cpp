#include "database/rw_lock.h"

#include <algorithm>

#include "database/wait_hooks.h"
#include "engine/process.h"
#include "engine/time.h"

namespace QETLib {

namespace {
constexpr int kImmediateRetries = 100;
constexpr int kLongestSleepMs = 20;
constexpr int64_t kHousekeepingEveryMs = 15000;
}  // namespace

int* ReentrantRWLock::ReaderSlot(std::thread::id id) {
  for (auto& entry : readers_)
    if (entry.first == id) return &entry.second;
  return nullptr;
}

ReentrantRWLock::Try ReentrantRWLock::TryOnce(bool write) {
  const std::thread::id self = std::this_thread::get_id();
  std::lock_guard<std::mutex> guard(m_);
  int* my_reads = ReaderSlot(self);
  if (!write) {
    if (writer_ == self || my_reads) {  // re-entry is always let in
      if (my_reads)
        ++*my_reads;
      else
        readers_.emplace_back(self, 1);
      return Try::kTaken;
    }
    if (writer_ != std::thread::id{} || waiting_writers_ > 0) return Try::kBusy;
    readers_.emplace_back(self, 1);
    return Try::kTaken;
  }
  if (writer_ == self) {
    ++write_depth_;
    return Try::kTaken;
  }
  if (my_reads) return Try::kRefused;
  if (writer_ != std::thread::id{} || !readers_.empty()) return Try::kBusy;
  writer_ = self;
  write_depth_ = 1;
  return Try::kTaken;
}

bool ReentrantRWLock::Acquire(bool write, int timeout_ms, const std::atomic<bool>* cancel) {
  Try first = TryOnce(write);
  if (first != Try::kBusy) return first == Try::kTaken;
  if (timeout_ms == 0) return false;

  const bool main = Orb::Process::IsMainThread();
  if (write) {
    std::lock_guard<std::mutex> guard(m_);
    ++waiting_writers_;  // from now on new readers stay out
  }
  if (main) main_waiting_ = true;
  const int64_t start = Orb::Time::MonotonicMilliseconds();
  int64_t last_housekeeping = start;
  int retries = 0;
  int sleep_ms = 0;
  bool taken = false;
  for (;;) {
    if (retries < kImmediateRetries) {
      ++retries;
      std::this_thread::yield();
    } else {
      sleep_ms = std::min(sleep_ms + 1, kLongestSleepMs);
      Orb::Time::Delay(sleep_ms);
    }
    Try t = TryOnce(write);  // waiting writers hold back readers only, never each other
    if (t != Try::kBusy) {
      taken = t == Try::kTaken;
      break;
    }
    if (cancel && cancel->load()) break;
    const int64_t now = Orb::Time::MonotonicMilliseconds();
    if (timeout_ms > 0 && now - start >= timeout_ms) break;
    if (main && now - last_housekeeping >= kHousekeepingEveryMs) {
      RunMainThreadHousekeeping();
      last_housekeeping = now;
    }
  }
  if (write) {
    std::lock_guard<std::mutex> guard(m_);
    --waiting_writers_;
  }
  if (main) main_waiting_ = false;
  return taken;
}

bool ReentrantRWLock::Release(bool write) {
  const std::thread::id self = std::this_thread::get_id();
  std::lock_guard<std::mutex> guard(m_);
  if (write) {
    if (writer_ == self && write_depth_ > 0 && --write_depth_ == 0) writer_ = std::thread::id{};
  } else {
    auto it = std::find_if(readers_.begin(), readers_.end(), [&](auto& e) { return e.first == self; });
    if (it != readers_.end() && --it->second == 0) readers_.erase(it);
  }
  return writer_ == std::thread::id{} && readers_.empty();
}

bool ReentrantRWLock::IsFree() const {
  std::lock_guard<std::mutex> guard(m_);
  return writer_ == std::thread::id{} && readers_.empty();
}

int ReentrantRWLock::ReadDepthOfThisThread() const {
  const std::thread::id self = std::this_thread::get_id();
  std::lock_guard<std::mutex> guard(m_);
  for (auto& entry : readers_)
    if (entry.first == self) return entry.second;
  return 0;
}

int ReentrantRWLock::WriteDepthOfThisThread() const {
  std::lock_guard<std::mutex> guard(m_);
  return writer_ == std::this_thread::get_id() ? write_depth_ : 0;
}

int ReentrantRWLock::WaitingWriters() const {
  std::lock_guard<std::mutex> guard(m_);
  return waiting_writers_;
}

}  // namespace QETLib
