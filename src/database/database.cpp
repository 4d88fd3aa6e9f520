#include "database/database.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "database/database_lock.h"
#include "database/index_hooks.h"
#include "database/ipc_controller.h"
#include "database/worker_registry.h"
#include "engine/path.h"

namespace QETLib {

namespace {

// The database thread makes one pass: it takes the database lock for writing once, which
// loads the index when it was never loaded or another process has written it.
class DatabaseThread {
 public:
  void Start() {
    std::lock_guard<std::mutex> guard(m_);
    if (running_) return;
    if (thread_.joinable()) thread_.join();  // an earlier pass that has ended
    stop_ = false;
    running_ = true;
    thread_ = std::thread([this] { Pass(); });
  }

  // Asks the pass to end, polling every 10 ms until it has.
  void Stop() {
    std::unique_lock<std::mutex> lock(m_);
    stop_ = true;
    while (running_) cv_.wait_for(lock, std::chrono::milliseconds(10), [this] { return !running_; });
    std::thread done = std::move(thread_);
    lock.unlock();
    if (done.joinable()) done.join();
  }

  bool Running() {
    std::lock_guard<std::mutex> guard(m_);
    return running_;
  }

  bool Wait(int timeout_ms) {
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return !running_; });
  }

 private:
  void Pass() {
    { DatabaseLock lock(true, 0, &stop_); }
    std::lock_guard<std::mutex> guard(m_);
    running_ = false;
    cv_.notify_all();
  }

  std::mutex m_;
  std::condition_variable cv_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  bool running_ = false;
};

struct DatabaseState {
  std::mutex m;
  std::atomic<bool> started{false};
  DatabaseSettings settings;
  std::string root;
  std::unique_ptr<WorkerRegistry> workers;
  DownloadServiceHooks download;
  DatabaseThread thread;
};

DatabaseState& State() {
  static DatabaseState state;
  return state;
}

}  // namespace

bool StartDatabase(const DatabaseSettings& settings) {
  DatabaseState& s = State();
  std::unique_lock<std::mutex> lock(s.m);
  if (s.started) return true;
  std::string root = Orb::Path::DelSlash(settings.root);
  if (!OpenIPCController(Orb::Path::AddPath(root, "assets.tdx"), false)) return false;
  s.root = root;
  s.settings = settings;
  s.settings.root = root;
  s.workers = std::make_unique<WorkerRegistry>();
  s.started = true;
  DownloadServiceHooks download = s.download;
  bool start_download = settings.start_download_service;
  lock.unlock();
  s.thread.Start();
  if (download.reset) download.reset();
  if (start_download && download.start) download.start();
  return true;
}

void StopDatabase() {
  DatabaseState& s = State();
  if (!s.started) return;
  s.thread.Stop();
  if (WorkerRegistry* workers = DatabaseWorkers()) workers->Stop();
  DownloadServiceHooks download;
  {
    std::lock_guard<std::mutex> guard(s.m);
    s.settings.change_callback = nullptr;
    download = s.download;
  }
  if (IndexHooks* hooks = CurrentIndexHooks()) hooks->WriteBackIfDirty();
  if (download.stop) download.stop();
  std::unique_ptr<WorkerRegistry> workers;
  {
    std::lock_guard<std::mutex> guard(s.m);
    workers = std::move(s.workers);
    s.started = false;
  }
  workers.reset();
  if (IndexHooks* hooks = CurrentIndexHooks()) hooks->Empty();
  {
    std::lock_guard<std::mutex> guard(s.m);
    s.settings = DatabaseSettings{};
    s.root.clear();
  }
  CloseIPCController();
}

bool IsDatabaseStarted() { return State().started.load(); }

std::string DatabaseRootFolder() {
  std::lock_guard<std::mutex> guard(State().m);
  return State().root;
}

DatabaseSettings CurrentDatabaseSettings() {
  std::lock_guard<std::mutex> guard(State().m);
  return State().settings;
}

std::function<void(uint32_t)> DatabaseChangeCallback() {
  std::lock_guard<std::mutex> guard(State().m);
  return State().settings.change_callback;
}

void StartDatabaseThread() {
  if (IsDatabaseStarted()) State().thread.Start();
}

bool DatabaseThreadRunning() { return State().thread.Running(); }
bool WaitForDatabaseThread(int timeout_ms) { return State().thread.Wait(timeout_ms); }

WorkerRegistry* DatabaseWorkers() {
  std::lock_guard<std::mutex> guard(State().m);
  return State().workers.get();
}

void RegisterDownloadService(DownloadServiceHooks hooks) {
  std::lock_guard<std::mutex> guard(State().m);
  State().download = std::move(hooks);
}

}  // namespace QETLib
