// What a thread does while it waits for the database: the main thread's blocking
// indicator and the housekeeping it performs during long waits.
#pragma once
#include <cstdint>
#include <functional>

namespace QETLib {

// The console shows no animation; the indicator counts its steps so that a waiting main
// thread can be observed.
void AdvanceBlockingIndicator();
void RefreshBlockingIndicator();
int64_t BlockingIndicatorSteps();

// Housekeeping run by the main thread every 15 s while it waits for the in-process lock:
// the indicator is refreshed, then every registered task runs (dropping cached resources
// that nothing uses, collecting the string cache).
using HousekeepingTask = std::function<void()>;
void AddMainThreadHousekeeping(HousekeepingTask task);
void RunMainThreadHousekeeping();

}  // namespace QETLib
