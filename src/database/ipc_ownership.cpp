// Taking, waiting for and giving up ownership of the database, and the idle pass that
// clears slots left by dead processes.
#include "database/ipc_controller.h"
#include "database/ipc_state.h"
#include "database/wait_hooks.h"
#include "engine/log.h"
#include "engine/process.h"
#include "engine/time.h"

namespace QETLib {

using namespace ipc;

namespace ipc {
void TakeOwnershipHeld() {
  State& s = Get();
  Write32(kOwner, s.pid);
  Write32(kRequester, -1);
  s.request_seen_ms = 0;
  s.known_counter = Read32(kCounter);
  s.owner = true;
}
}  // namespace ipc

namespace {

constexpr int kWaitStepMs = 50;

bool IsDead(int32_t pid) { return !Orb::Process::IsAlive(pid); }

// Clears `slot` when it still names the dead process `pid`; the test is repeated under
// the mutex because the slot may have changed since the quick look.
void ClearDeadSlot(size_t slot, int32_t pid, const char* line) {
  Hold hold;
  if (Read32(slot) != pid || !IsDead(pid)) return;
  Write32(slot, -1);
  Orb::Log::Printf(line, pid);
}

void IdlePass(bool waiting) {
  State& s = Get();
  if (!s.open) return;
  if (!s.controller) {
    int32_t controller = Read32(kController);
    if (controller == -1 || IsDead(controller)) {
      Hold hold;
      controller = Read32(kController);
      if (controller == -1 || IsDead(controller)) {
        Write32(kController, s.pid);
        s.controller = true;
      }
    }
  }
  // The controller clears up; so does a process waiting for ownership, since the
  // controller may be busy with work of its own and never come by.
  if (!s.controller && !waiting) return;
  int32_t owner = Read32(kOwner);
  if (owner != -1 && owner != s.pid && IsDead(owner))
    ClearDeadSlot(kOwner, owner, "IPCIdle> clearing dead database owner (owner processID was %d)\n");
  int32_t requester = Read32(kRequester);
  if (requester != -1 && requester != s.pid && IsDead(requester))
    ClearDeadSlot(kRequester, requester, "IPCIdle> clearing dead database requester (requester processID was %d)\n");
  if (Read32(kRequester) == s.pid && Read32(kOwner) == s.pid) {
    Hold hold;
    if (Read32(kRequester) == s.pid && Read32(kOwner) == s.pid) Write32(kRequester, -1);
  }
}

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

// One wait step: the blocking indicator on the main thread, 50 ms of sleep, an idle pass.
bool WaitStep(const std::atomic<bool>* cancel) {
  if (Orb::Process::IsMainThread()) AdvanceBlockingIndicator();
  for (int slept = 0; slept < kWaitStepMs; slept += 10) {
    if (Cancelled(cancel)) return false;
    Orb::Time::Delay(10);
  }
  IdlePass(true);
  return !Cancelled(cancel);
}

void WithdrawRequest() {
  State& s = Get();
  Hold hold;
  if (Read32(kRequester) == s.pid) Write32(kRequester, -1);
}

}  // namespace

bool TryAcquireOwnership(bool register_request) {
  State& s = Get();
  if (s.owner) return true;
  if (!s.open) return false;
  Hold hold;
  int32_t owner = Read32(kOwner);
  int32_t requester = Read32(kRequester);
  if (owner == -1 && (requester == -1 || requester == s.pid)) {
    TakeOwnershipHeld();
    return true;
  }
  if (register_request && requester == -1) Write32(kRequester, s.pid);
  return false;
}

void AcquireOwnership() { AcquireOwnership(nullptr); }

bool AcquireOwnership(const std::atomic<bool>* cancel) {
  State& s = Get();
  if (s.owner) return true;
  if (!s.open) return false;
  for (;;) {
    {
      Hold hold;  // free and nobody else waiting: take it; else queue up when we can
      int32_t owner = Read32(kOwner);
      int32_t requester = Read32(kRequester);
      if (owner == s.pid) return true;  // another thread of ours got there first
      if (owner == -1 && (requester == -1 || requester == s.pid)) {
        TakeOwnershipHeld();
        return true;
      }
      if (requester == -1) Write32(kRequester, s.pid);
    }
    // Wait until the requester slot is ours.
    while (Read32(kRequester) != s.pid) {
      if (s.owner) return true;
      if (Read32(kRequester) == -1) {
        Hold hold;
        if (Read32(kRequester) == -1) Write32(kRequester, s.pid);
        continue;
      }
      if (!WaitStep(cancel)) {
        WithdrawRequest();
        return false;
      }
    }
    // Wait for the owner to let go, as long as our request stands.
    bool restart = false;
    for (int32_t owner; (owner = Read32(kOwner)) != -1;) {
      if (owner == s.pid) {
        WithdrawRequest();
        return true;
      }
      if (Read32(kRequester) != s.pid) {
        restart = true;
        break;
      }
      if (!WaitStep(cancel)) {
        WithdrawRequest();
        return false;
      }
    }
    if (restart) continue;
    Hold hold;
    int32_t requester = Read32(kRequester);
    if (Read32(kOwner) == -1 && (requester == s.pid || requester == -1)) {
      TakeOwnershipHeld();
      return true;
    }
  }
}

void IPCIdle() { IdlePass(false); }

bool HasPendingRequest() {
  State& s = Get();
  if (!s.owner || !s.open) return false;
  int32_t requester = Read32(kRequester);
  if (requester == -1 || requester == s.pid) return false;
  int64_t expected = 0;
  s.request_seen_ms.compare_exchange_strong(expected, Orb::Time::MonotonicMilliseconds());
  return true;
}

int64_t PendingRequestSeenAt() { return Get().request_seen_ms.load(); }

void ReleaseOwnership() {
  State& s = Get();
  if (!s.owner || !s.open) return;
  Hold hold;
  if (Read32(kOwner) == s.pid) Write32(kOwner, -1);
  s.owner = false;
  s.request_seen_ms = 0;
}

}  // namespace QETLib
