// Start-up and shut-down of the asset database layer: the settings record, the database
// thread that performs the first index load, the worker registry and background services.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace QETLib {

class WorkerRegistry;

struct DatabaseSettings {
  std::string root;                                // installation root
  std::function<void(uint32_t)> change_callback;   // pending change flags, once the lock is free
  bool recover_when_unreadable = true;             // index fallbacks: temporary file, backup, rescan
  bool start_download_service = true;
};

// Once per process (a second call does nothing and succeeds): opens the ownership
// controller if needed, takes the settings, creates the worker registry and starts the
// database thread, whose first write lock loads the index. Fails when the controller cannot
// be opened.
bool StartDatabase(const DatabaseSettings& settings);
// The reverse: stops the threads (asked, then polled every 10 ms), writes the index back
// when it is dirty, stops the download service, frees the registry, empties the index and
// closes the ownership controller.
void StopDatabase();

bool IsDatabaseStarted();
std::string DatabaseRootFolder();  // "" when not started
DatabaseSettings CurrentDatabaseSettings();
std::function<void(uint32_t)> DatabaseChangeCallback();

// Starts the database thread unless it is running; its one write lock reloads the index.
void StartDatabaseThread();
bool DatabaseThreadRunning();
// Waits for the database thread to finish its pass (tests; false after `timeout_ms`).
bool WaitForDatabaseThread(int timeout_ms);

// The registry of worker tasks and the asset data they hold; nullptr when not started.
WorkerRegistry* DatabaseWorkers();

// The download-station service (its client lives elsewhere) plugs in here: `reset` runs
// at every start-up, `start` when the settings ask for the service, `stop` at shut-down.
struct DownloadServiceHooks {
  std::function<void()> reset;
  std::function<void()> start;
  std::function<void()> stop;
};
void RegisterDownloadService(DownloadServiceHooks hooks);

}  // namespace QETLib
