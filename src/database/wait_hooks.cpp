#include "database/wait_hooks.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace QETLib {

namespace {
std::atomic<int64_t> g_steps{0};
std::mutex g_lock;
std::vector<HousekeepingTask>& Tasks() {
  static std::vector<HousekeepingTask> tasks;
  return tasks;
}
}  // namespace

void AdvanceBlockingIndicator() { ++g_steps; }
void RefreshBlockingIndicator() { ++g_steps; }
int64_t BlockingIndicatorSteps() { return g_steps.load(); }

void AddMainThreadHousekeeping(HousekeepingTask task) {
  std::lock_guard<std::mutex> guard(g_lock);
  Tasks().push_back(std::move(task));
}

void RunMainThreadHousekeeping() {
  RefreshBlockingIndicator();
  std::vector<HousekeepingTask> tasks;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    tasks = Tasks();
  }
  for (auto& task : tasks) task();
}

}  // namespace QETLib
