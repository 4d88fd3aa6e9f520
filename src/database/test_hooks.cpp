// Crash and delay points for end-to-end tests (QUORIX_TEST_HOOKS builds only).
#include "database/test_hooks.h"

#ifdef QUORIX_TEST_HOOKS
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/time.h"

namespace QETLib {

void TestHookPoint(const char* point) {
  if (const char* crash = std::getenv("QUORIX_TEST_CRASH_AT"); crash && std::strcmp(crash, point) == 0) {
    std::fflush(nullptr);
    ::raise(SIGKILL);
  }
  if (const char* delay = std::getenv("QUORIX_TEST_DELAY_AT")) {
    std::string spec(delay);
    size_t colon = spec.rfind(':');
    if (colon != std::string::npos && spec.compare(0, colon, point) == 0)
      Orb::Time::Delay(std::atoi(spec.c_str() + colon + 1));
  }
}

}  // namespace QETLib
#endif
