#include "database/worker_registry.h"

#include <chrono>

namespace QETLib {

WorkerRegistry::~WorkerRegistry() { Stop(); }

bool WorkerRegistry::Post(Task task) {
  std::lock_guard<std::mutex> guard(m_);
  if (stop_) return false;
  queue_.push_back(std::move(task));
  if (!thread_.joinable()) {
    running_ = true;
    thread_ = std::thread([this] { Run(); });
  }
  cv_.notify_one();
  return true;
}

void WorkerRegistry::Run() {
  for (;;) {
    Task task;
    {
      std::unique_lock<std::mutex> lock(m_);
      cv_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) break;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    task(stop_);
  }
  std::lock_guard<std::mutex> guard(m_);
  running_ = false;
  cv_.notify_all();
}

void WorkerRegistry::Stop(const std::function<void()>& serve) {
  {
    std::unique_lock<std::mutex> lock(m_);
    stop_ = true;
    queue_.clear();
    cv_.notify_all();
    while (running_) {
      lock.unlock();
      if (serve) serve();
      lock.lock();
      cv_.wait_for(lock, std::chrono::milliseconds(10), [this] { return !running_.load(); });
    }
  }
  if (thread_.joinable()) thread_.join();
}

size_t WorkerRegistry::QueuedTasks() const {
  std::lock_guard<std::mutex> guard(m_);
  return queue_.size();
}

void WorkerRegistry::Hold(const KUID& asset, std::shared_ptr<void> data) {
  std::lock_guard<std::mutex> guard(m_);
  held_[asset].push_back(std::move(data));
}

size_t WorkerRegistry::Release(const KUID& asset) {
  std::vector<std::shared_ptr<void>> gone;  // freed outside the lock
  std::lock_guard<std::mutex> guard(m_);
  auto it = held_.find(asset);
  if (it == held_.end()) return 0;
  gone = std::move(it->second);
  held_.erase(it);
  return gone.size();
}

size_t WorkerRegistry::HeldFor(const KUID& asset) const {
  std::lock_guard<std::mutex> guard(m_);
  auto it = held_.find(asset);
  return it == held_.end() ? 0 : it->second.size();
}

void WorkerRegistry::ReleaseAll() {
  std::map<KUID, std::vector<std::shared_ptr<void>>> gone;
  std::lock_guard<std::mutex> guard(m_);
  gone.swap(held_);
}

}  // namespace QETLib
