// Synchronisation primitives the system names: a re-entrant critical section with a
// scoped holder, an atomic counter, and an intrusive reference count.
#pragma once
#include <atomic>
#include <mutex>

namespace Orb {

class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  bool TryEnter() { return mutex_.try_lock(); }

  class Hold {
   public:
    explicit Hold(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~Hold() { cs_.Leave(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    CriticalSection& cs_;
  };

 private:
  std::recursive_mutex mutex_;
};

class ProtectedLong {
 public:
  explicit ProtectedLong(long value = 0) : value_(value) {}
  long Increment() { return ++value_; }
  long Decrement() { return --value_; }
  long Get() const { return value_.load(); }
  void Set(long value) { value_.store(value); }

 private:
  std::atomic<long> value_;
};

}  // namespace Orb
