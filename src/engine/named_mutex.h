// A mutex shared by every process that opens it under the same name: an flock() on a
// lock file, released by the kernel when its holder dies, like an abandoned mutex.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

namespace Orb {

// Folder of the lock and shared-memory files: /dev/shm when usable, else /tmp.
// QUORIX_IPC_DIR overrides it.
std::string SharedObjectFolder();
// A file name for a shared object named by arbitrary text (a 64-bit hash of the text).
std::string SharedObjectPath(const std::string& name, const char* suffix);

// flock() locks belong to the open file description, so they survive other descriptors
// of the same file being closed (unlike fcntl() record locks, which belong to the process
// and vanish when any descriptor of the file is closed) and are dropped by the kernel as
// soon as a holder dies. Two files stand for one named mutex:
//   NAME.mutex  the lock itself: an exclusive flock while held;
//   NAME.live   presence: every process that has the mutex open holds a shared flock on
//               it for as long as it keeps it open.
// "Did not exist before" means that no live process holds the presence lock: the creator
// tests that with an exclusive try-lock while holding the mutex, so a file left over by a
// crashed run counts as absent. Threads of one process are serialised by an in-process
// mutex before the flock is taken; the lock is re-entrant per thread.
// Companion files (a shared block) sit beside the two as NAME.<suffix>. A process that
// finds itself first also sweeps the folder for sets of files that no live process holds
// (left by processes that were killed), taking each set's lock before removing it.
class NamedMutex {
 public:
  NamedMutex() = default;
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Opens the mutex and joins its presence. `existed` tells whether another live process
  // had it open. When it did not exist and `initially_owned` is set, the caller holds it
  // on return; otherwise it is not held.
  bool Create(const std::string& name, bool initially_owned, bool& existed);
  bool IsOpen() const { return lock_fd_ >= 0; }
  // The path of a companion file of this mutex (valid once created).
  std::string CompanionPath(const char* suffix) const;

  void Lock();
  void Unlock();

  // Leaves presence and closes the files. Must be called with the mutex held once (it is
  // released here). When no other live process is present, the files named by the mutex
  // and every extra path given are removed first, so nothing is left behind.
  void CloseHeld(const std::string& extra_path = std::string());
  // Closes without clean-up (the mutex must not be held).
  void Close();

 private:
  bool OpenVerifiedLock();  // takes the flock on a lock file that is still linked
  std::string name_;
  std::string lock_path_;
  std::string live_path_;
  int lock_fd_ = -1;
  int live_fd_ = -1;
  std::recursive_mutex local_;
  int depth_ = 0;  // flock held while > 0; changed only under local_
};

}  // namespace Orb
