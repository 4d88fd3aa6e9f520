// Free disk space (statvfs) and the low-disk notification.
#include "database/disk_space.h"

#include <sys/statvfs.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "engine/log.h"

namespace QETLib {

namespace {

std::mutex g_query_mutex;
std::function<int64_t(const std::string&)> g_query;
std::atomic<int> g_low_disk_posted{0};

int64_t StatvfsFreeSpace(const std::string& path) {
#ifdef QUORIX_TEST_HOOKS
  // End-to-end tests fix the answer through the environment.
  if (const char* fixed = std::getenv("QUORIX_TEST_FREE_SPACE")) return std::atoll(fixed);
#endif
  struct statvfs info;
  if (::statvfs(path.c_str(), &info) != 0) return -1;
  return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}

}  // namespace

int64_t FreeDiskSpace(const std::string& path) {
  std::function<int64_t(const std::string&)> query;
  {
    std::lock_guard<std::mutex> guard(g_query_mutex);
    query = g_query;
  }
  return query ? query(path) : StatvfsFreeSpace(path);
}

void SetFreeDiskSpaceQuery(std::function<int64_t(const std::string&)> query) {
  std::lock_guard<std::mutex> guard(g_query_mutex);
  g_query = std::move(query);
}

bool IsDiskSpaceLow(int64_t free_bytes) { return free_bytes < 0 || free_bytes < kLowDiskThreshold; }

void PostLowDiskNotification() {
  g_low_disk_posted.fetch_add(1);
  Orb::Log::Printf("PostThreadMessage> main thread message %d (low disk space)\n", kLowDiskMessage);
}

int TakeLowDiskNotifications() { return g_low_disk_posted.exchange(0); }

}  // namespace QETLib
