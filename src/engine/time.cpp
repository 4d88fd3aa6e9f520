#include "engine/time.h"

#include <unistd.h>

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

namespace Orb::Time {

int64_t NowUnixSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int64_t MonotonicMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Delay(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace Orb::Time

namespace Orb::Random {

namespace {
std::mutex g_lock;
std::mt19937& Generator() {
  static std::mt19937 generator(std::random_device{}());
  return generator;
}
}  // namespace

void Randomise() {
  std::lock_guard<std::mutex> guard(g_lock);
  std::seed_seq seq{static_cast<uint32_t>(std::random_device{}()),
                    static_cast<uint32_t>(Time::MonotonicMilliseconds()), static_cast<uint32_t>(::getpid())};
  Generator().seed(seq);
}

uint32_t Next() {
  std::lock_guard<std::mutex> guard(g_lock);
  return Generator()();
}

uint32_t Below(uint32_t bound) {
  std::uniform_int_distribution<uint32_t> dist(0, bound - 1);
  std::lock_guard<std::mutex> guard(g_lock);
  return dist(Generator());
}

}  // namespace Orb::Random
