#include "engine/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "engine/file.h"

#include "engine/text.h"

namespace Orb {

namespace {

bool IsWritableFolder(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) && ::access(path, W_OK | X_OK) == 0;
}

uint64_t Fnv1a64(const std::string& text) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

int FlockRetry(int fd, int op) {
  int r;
  do {
    r = ::flock(fd, op);
  } while (r != 0 && errno == EINTR);
  return r;
}

// Removes the file set `base`.mutex, `base`.live and their companions when nobody holds it. The set's own
// lock is taken first, so a process that opened the old lock file meanwhile notices the
// unlink when it gets the lock (it checks the path still names its file) and starts over.
void SweepSet(const std::string& base, const std::vector<FindEntry>& entries) {
  std::string lock_path = base + ".mutex";
  std::string live_path = base + ".live";
  int lock_fd = ::open(lock_path.c_str(), O_RDWR | O_CLOEXEC);
  if (lock_fd < 0) return;
  struct stat held, named;
  if (FlockRetry(lock_fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(lock_fd, &held) == 0 &&
      ::stat(lock_path.c_str(), &named) == 0 && held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
    int live_fd = ::open(live_path.c_str(), O_RDWR | O_CLOEXEC);
    if (live_fd >= 0 && FlockRetry(live_fd, LOCK_EX | LOCK_NB) == 0) {
      for (const FindEntry& e : entries)
        if (e.path.compare(0, base.size() + 1, base + ".") == 0 && e.path != live_path && e.path != lock_path)
          ::unlink(e.path.c_str());
      ::unlink(live_path.c_str());
      ::unlink(lock_path.c_str());
    }
    if (live_fd >= 0) ::close(live_fd);
  }
  ::close(lock_fd);
}

void SweepStaleSets(const std::string& own_lock_path) {
  std::vector<FindEntry> entries;
  if (!ListFolder(SharedObjectFolder(), entries)) return;
  const std::string prefix = "quorix-", suffix = ".live";
  for (const FindEntry& e : entries) {
    if (e.is_folder || e.name.size() <= prefix.size() + suffix.size() || e.name.compare(0, prefix.size(), prefix) != 0 ||
        e.name.compare(e.name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    std::string base = e.path.substr(0, e.path.size() - suffix.size());
    if (base + ".mutex" != own_lock_path) SweepSet(base, entries);
  }
}

}  // namespace

std::string SharedObjectFolder() {
  const char* over = std::getenv("QUORIX_IPC_DIR");
  if (over && *over) return over;
  return IsWritableFolder("/dev/shm") ? "/dev/shm" : "/tmp";
}

std::string SharedObjectPath(const std::string& name, const char* suffix) {
  return Format("%s/quorix-%016llx.%s", SharedObjectFolder().c_str(),
                static_cast<unsigned long long>(Fnv1a64(name)), suffix);
}

NamedMutex::~NamedMutex() { Close(); }

bool NamedMutex::OpenVerifiedLock() {
  // A last closer may unlink the lock file while we wait on it: after taking the lock,
  // make sure the path still names the file we locked, else start over on the new one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = ::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (FlockRetry(fd, LOCK_EX) != 0) {
      ::close(fd);
      return false;
    }
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::stat(lock_path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      lock_fd_ = fd;
      return true;
    }
    ::close(fd);  // releases the stale lock
  }
  return false;
}

bool NamedMutex::Create(const std::string& name, bool initially_owned, bool& existed) {
  existed = false;
  if (IsOpen()) return false;
  name_ = name;
  lock_path_ = SharedObjectPath(name, "mutex");
  live_path_ = SharedObjectPath(name, "live");
  local_.lock();
  if (!OpenVerifiedLock()) {
    local_.unlock();
    return false;
  }
  depth_ = 1;
  live_fd_ = ::open(live_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (live_fd_ < 0) {
    Close();
    return false;
  }
  // Only a creator takes the exclusive presence lock, and only while holding the mutex,
  // which we hold: the shared lock below can therefore not block for long.
  if (FlockRetry(live_fd_, LOCK_EX | LOCK_NB) == 0) {
    existed = false;
    if (FlockRetry(live_fd_, LOCK_SH) != 0) {
      Close();
      return false;
    }
  } else {
    existed = true;
    if (FlockRetry(live_fd_, LOCK_SH) != 0) {
      Close();
      return false;
    }
  }
  if (!existed) SweepStaleSets(lock_path_);
  if (existed || !initially_owned) Unlock();
  return true;
}

std::string NamedMutex::CompanionPath(const char* suffix) const { return SharedObjectPath(name_, suffix); }

void NamedMutex::Lock() {
  local_.lock();
  if (depth_++ == 0 && lock_fd_ >= 0) FlockRetry(lock_fd_, LOCK_EX);
}

void NamedMutex::Unlock() {
  if (--depth_ == 0 && lock_fd_ >= 0) FlockRetry(lock_fd_, LOCK_UN);
  local_.unlock();
}

void NamedMutex::CloseHeld(const std::string& extra_path) {
  if (live_fd_ >= 0) {
    // Leave presence, then see whether anyone else is still there. Nobody can join in
    // between: joining needs the mutex, which we hold.
    FlockRetry(live_fd_, LOCK_UN);
    if (FlockRetry(live_fd_, LOCK_EX | LOCK_NB) == 0) {
      if (!extra_path.empty()) ::unlink(extra_path.c_str());
      ::unlink(live_path_.c_str());
      ::unlink(lock_path_.c_str());
    }
    ::close(live_fd_);
    live_fd_ = -1;
  }
  Close();
}

void NamedMutex::Close() {
  if (live_fd_ >= 0) ::close(live_fd_);
  live_fd_ = -1;
  if (depth_ > 0) {
    if (lock_fd_ >= 0) FlockRetry(lock_fd_, LOCK_UN);
    while (depth_ > 0) {
      --depth_;
      local_.unlock();
    }
  }
  if (lock_fd_ >= 0) ::close(lock_fd_);
  lock_fd_ = -1;
}

}  // namespace Orb
