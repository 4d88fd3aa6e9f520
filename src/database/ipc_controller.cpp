#include "database/ipc_controller.h"

#include "database/ipc_state.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/process.h"
#include "engine/text.h"

namespace QETLib {

namespace ipc {
State& Get() {
  static State state;
  return state;
}
}  // namespace ipc

using namespace ipc;

namespace {

// Every program that works on an installation forms the same names from its root, so
// they meet on the same mutex and block, and two installations never do.
constexpr const char* kMutexGuid = "09731AC6-B611-4e2a-B181-578073F64F24";

std::string MutexName(const std::string& lowered_root) {
  return Orb::Path::ReplaceBackSlashes(Orb::Path::AddPath(kMutexGuid, lowered_root));
}

// The block (the name text joined with "-ipc2") is kept beside the mutex's own files, so
// that the files of an installation nobody uses any more are recognised and removed as one.
std::string BlockPath(const State& s) { return s.mutex.CompanionPath("ipc2.shm"); }

void InitialiseBlock(int32_t pid) {
  Write32(kController, pid);
  Write32(kOwner, -1);
  Write32(kRequester, -1);
  Write32(kCounter, 0);
  Write32(kCounting, 2);
  Write8(kAttached, 1);
  Write32(kExclusive, 0);
  Write8(kAdmission, 0);
}

void ResetProcessState(State& s) {
  s.open = false;
  s.counted = false;
  s.controller = false;
  s.owner = false;
  s.known_counter = 0;
  s.remembered_counter = -1;
  s.request_seen_ms = 0;
}

}  // namespace

bool OpenIPCController(const std::string& index_path, bool repair_tool) {
  State& s = Get();
  if (s.open) return true;
  const std::string kIndexName = "assets.tdx";
  std::string lowered = Orb::ToLower(index_path);
  if (lowered.size() < kIndexName.size() + 1 || !Orb::EndsWithIgnoreCase(lowered, kIndexName)) return false;
  std::string root = index_path.substr(0, index_path.size() - kIndexName.size() - 1);
  if (!Orb::File::IsFolder(root.empty() ? "/" : root)) return false;
  std::string name = MutexName(lowered.substr(0, root.size()));

  s.pid = Orb::Process::CurrentId();
  bool existed = false;
  if (!s.mutex.Create(name, true, existed)) return false;
  if (!existed) {
    // No live process has the installation open: whatever an earlier run left in the
    // block is stale, so it starts afresh with this process as controller.
    if (!s.block.CreateAt(BlockPath(s), kBlockSize)) {
      s.mutex.CloseHeld();
      return false;
    }
    InitialiseBlock(s.pid);
    s.controller = true;
    s.counted = true;
    s.open = true;
    s.mutex.Unlock();
    return true;
  }
  s.mutex.Lock();
  if (!s.block.AttachAt(BlockPath(s), kBlockSize)) {
    s.mutex.CloseHeld();
    return false;
  }
  if (Read32(kExclusive) != 0 && !(repair_tool && Read8(kAdmission) != 0)) {
    std::string path = s.block.FilePath();
    s.block.Close();
    s.mutex.CloseHeld(path);
    return false;
  }
  if (Read32(kCounting) != 0) {
    uint8_t count = Read8(kAttached);
    if (count < 254) Write8(kAttached, static_cast<uint8_t>(count + 1));  // 255 means "not counted"
    s.counted = true;
  } else {
    Write8(kAttached, 255);
  }
  s.open = true;
  s.mutex.Unlock();
  return true;
}

void CloseIPCController() {
  State& s = Get();
  if (!s.open) return;
  s.mutex.Lock();
  if (s.owner && Read32(kOwner) == s.pid) Write32(kOwner, -1);
  if (Read32(kRequester) == s.pid) Write32(kRequester, -1);
  if (s.controller && Read32(kController) == s.pid) Write32(kController, -1);
  // Every process that counted itself takes itself off again (not only the controller),
  // so the count stays the number of processes attached.
  if (s.counted && Read32(kCounting) != 0) {
    uint8_t count = Read8(kAttached);
    if (count > 0 && count < 255) Write8(kAttached, static_cast<uint8_t>(count - 1));
  }
  std::string path = s.block.FilePath();
  s.block.Close();
  s.mutex.CloseHeld(path);
  ResetProcessState(s);
}

bool IsIPCControllerOpen() { return Get().open; }
bool IPCIsOwner() { return Get().owner.load(); }
bool IPCIsController() { return Get().controller.load(); }

int32_t IPCKnownChangeCounter() { return Get().known_counter.load(); }
int32_t IPCRememberedChangeCounter() { return Get().remembered_counter.load(); }
void IPCRememberChangeCounter(int32_t value) { Get().remembered_counter = value; }

int32_t IPCIncrementChangeCounter() {
  State& s = Get();
  if (!s.open) return -1;
  Hold hold;
  int32_t value = Read32(kCounter) + 1;
  Write32(kCounter, value);
  s.known_counter = value;
  s.remembered_counter = value;
  return value;
}

void IPCSetExclusive(bool exclusive, bool admit_repair_tool) {
  State& s = Get();
  if (!s.open) return;
  Hold hold;
  Write32(kExclusive, exclusive ? 1 : 0);
  Write8(kAdmission, admit_repair_tool ? 1 : 0);
}

bool IPCReadBlock(IPCBlockView& view) {
  State& s = Get();
  if (!s.open) return false;
  Hold hold;
  view.controller = Read32(kController);
  view.owner = Read32(kOwner);
  view.requester = Read32(kRequester);
  view.change_counter = Read32(kCounter);
  view.counting = Read32(kCounting);
  view.attached = Read8(kAttached);
  view.exclusive = Read32(kExclusive);
  view.repair_admission = Read8(kAdmission);
  return true;
}

}  // namespace QETLib
