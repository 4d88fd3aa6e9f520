#include "engine/process.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

namespace Orb::Process {

int CurrentId() { return static_cast<int>(::getpid()); }

bool IsAlive(int pid) {
  if (pid <= 0) return false;
  if (::kill(pid, 0) == 0) return true;
  return errno == EPERM;
}

namespace {
std::atomic<std::thread::id> g_main_thread{};
}

void RecordMainThread() { g_main_thread.store(std::this_thread::get_id()); }
bool IsMainThread() { return g_main_thread.load() == std::this_thread::get_id(); }

}  // namespace Orb::Process
