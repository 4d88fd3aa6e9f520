// The worker-task registry: a task thread that runs posted background work in order, and
// the loaded asset data that work keeps, held per asset until the asset is released.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "content/kuid.h"

namespace QETLib {

class WorkerRegistry {
 public:
  // A task gets the stop request so that long work can end early.
  using Task = std::function<void(const std::atomic<bool>& stop)>;

  WorkerRegistry() = default;
  ~WorkerRegistry();
  WorkerRegistry(const WorkerRegistry&) = delete;
  WorkerRegistry& operator=(const WorkerRegistry&) = delete;

  // Queues a task; the task thread starts with the first one. False once stopping.
  bool Post(Task task);
  // Asks the task thread to stop after the task it runs (queued tasks are dropped), then
  // polls every 10 ms until it has; `serve` runs between polls (the main thread's queue).
  void Stop(const std::function<void()>& serve = {});
  size_t QueuedTasks() const;
  bool TaskThreadRunning() const { return running_.load(); }

  // Loaded data of an asset, kept until released.
  void Hold(const KUID& asset, std::shared_ptr<void> data);
  // Drops whatever is held for the asset; returns how many items were dropped.
  size_t Release(const KUID& asset);
  size_t HeldFor(const KUID& asset) const;
  void ReleaseAll();

 private:
  void Run();
  mutable std::mutex m_;
  std::condition_variable cv_;
  std::deque<Task> queue_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::map<KUID, std::vector<std::shared_ptr<void>>> held_;
};

}  // namespace QETLib
