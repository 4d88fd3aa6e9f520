// Cross-process ownership of one installation's asset database: a named mutex and a
// 32-byte shared block say which process owns the database, which one waits for it, and
// which one clears up after processes that died.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace QETLib {

// Opens the ownership controller for the installation whose index file is `index_path`
// (".../assets.tdx"). Does nothing and succeeds when already open. Fails when the path does
// not name assets.tdx, its folder is missing, the mutex cannot be made, or the block is
// exclusive (a repair tool is let in when the block admits one).
bool OpenIPCController(const std::string& index_path, bool repair_tool);
void CloseIPCController();
bool IsIPCControllerOpen();

// True at once when this process owns the database; otherwise takes it when it is free and
// nobody else waits for it, else (with `register_request`) enters this process as the
// requester when that slot is empty, and fails.
bool TryAcquireOwnership(bool register_request);
// Blocks until this process owns the database (wait steps of 50 ms running IPCIdle).
void AcquireOwnership();
// The same, giving up (and withdrawing the request) once `*cancel` becomes true.
bool AcquireOwnership(const std::atomic<bool>* cancel);
// Controller duties: take over a vacant or dead controller role; clear a dead owner or
// requester. A process waiting for ownership performs the clearing too, so a dead owner
// never blocks the installation while the controller is busy elsewhere.
void IPCIdle();
// True when this process owns the database and another process waits for it.
bool HasPendingRequest();
// Milliseconds (monotonic) at which the pending request was first seen, 0 when none.
int64_t PendingRequestSeenAt();
void ReleaseOwnership();

bool IPCIsOwner();
bool IPCIsController();

// Change counter: bumped by every successful index write-back. While this process owns
// the database nobody else can bump it, so the value seen at the moment ownership was
// taken (plus our own bumps) is current without touching the mutex.
int32_t IPCKnownChangeCounter();
int32_t IPCRememberedChangeCounter();  // -1 until the index was first loaded
void IPCRememberChangeCounter(int32_t value);
// After a successful write-back: increments the shared counter under the mutex and
// remembers the new value, so this process does not reload its own write.
int32_t IPCIncrementChangeCounter();

// Exclusive use (a repair tool or installer running alone): while set, new processes may
// not attach, except repair tools when `admit_repair_tool` is set.
void IPCSetExclusive(bool exclusive, bool admit_repair_tool);

// A consistent copy of the shared block, read under the mutex (diagnostics and tests).
struct IPCBlockView {
  int32_t controller = -1;
  int32_t owner = -1;
  int32_t requester = -1;
  int32_t change_counter = 0;
  int32_t counting = 0;
  uint8_t attached = 0;
  int32_t exclusive = 0;
  uint8_t repair_admission = 0;
};
bool IPCReadBlock(IPCBlockView& view);

}  // namespace QETLib
