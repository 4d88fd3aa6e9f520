// Free disk space for the index write-back, replaceable in tests, and the low-disk
// notification that the write-back posts to the main thread (message 3532).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace QETLib {

constexpr int64_t kLowDiskThreshold = 52428800;  // 50 MiB
constexpr int kLowDiskMessage = 3532;

// Free bytes on the disk holding `path`, or -1 when they cannot be read.
int64_t FreeDiskSpace(const std::string& path);
// Replaces the query (tests); an empty function restores the real one.
void SetFreeDiskSpaceQuery(std::function<int64_t(const std::string&)> query);

// True when the space is below the threshold or unknown.
bool IsDiskSpaceLow(int64_t free_bytes);

// Posts the low-disk message to the main thread; the main thread takes the count of
// messages posted since it last looked.
void PostLowDiskNotification();
int TakeLowDiskNotifications();

}  // namespace QETLib
