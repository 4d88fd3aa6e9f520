// Inside the ownership controller: the per-process state and the layout of the 32-byte
// shared block (little-endian fields), shared by the open/close and ownership units.
#pragma once
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/named_mutex.h"
#include "engine/shared_memory.h"

namespace QETLib::ipc {

// Block layout.
constexpr size_t kBlockSize = 32;
constexpr size_t kController = 0;   // int32: process running the clean-up, -1 none
constexpr size_t kOwner = 4;        // int32: database owner, -1 free
constexpr size_t kRequester = 8;    // int32: the one process waiting, -1 none
constexpr size_t kCounter = 12;     // int32: bumped by each index write-back
constexpr size_t kCounting = 16;    // int32: non-zero: attached processes are counted
constexpr size_t kAttached = 20;    // uint8: attached-process count, 255 when not counted
constexpr size_t kExclusive = 24;   // int32: non-zero: nobody new may attach
constexpr size_t kAdmission = 28;   // uint8: non-zero: repair tools may attach anyway

struct State {
  Orb::NamedMutex mutex;
  Orb::SharedMemory block;
  int32_t pid = 0;
  bool open = false;
  bool counted = false;  // this process is included in the attached count
  std::atomic<bool> controller{false};
  std::atomic<bool> owner{false};
  std::atomic<int32_t> known_counter{0};
  std::atomic<int32_t> remembered_counter{-1};
  std::atomic<int64_t> request_seen_ms{0};
};

State& Get();

inline uint32_t FromLittle(uint32_t v) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&v);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint32_t ToLittle(uint32_t v) {
  uint32_t out;
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  std::memcpy(&out, b, 4);
  return out;
}

// Field access. Writes happen only with the mutex held; the atomic access lets the wait
// loops take quick looks at the owner and requester slots without it.
inline int32_t Read32(size_t offset) {
  auto* p = reinterpret_cast<uint32_t*>(Get().block.Data() + offset);
  return static_cast<int32_t>(FromLittle(__atomic_load_n(p, __ATOMIC_ACQUIRE)));
}
inline void Write32(size_t offset, int32_t value) {
  auto* p = reinterpret_cast<uint32_t*>(Get().block.Data() + offset);
  __atomic_store_n(p, ToLittle(static_cast<uint32_t>(value)), __ATOMIC_RELEASE);
}
inline uint8_t Read8(size_t offset) { return __atomic_load_n(Get().block.Data() + offset, __ATOMIC_ACQUIRE); }
inline void Write8(size_t offset, uint8_t value) {
  __atomic_store_n(Get().block.Data() + offset, value, __ATOMIC_RELEASE);
}

// Holds the named mutex for a scope.
class Hold {
 public:
  Hold() { Get().mutex.Lock(); }
  ~Hold() { Get().mutex.Unlock(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
};

// Makes this process the owner; the mutex must be held.
void TakeOwnershipHeld();

}  // namespace QETLib::ipc
