// Crash and delay points for end-to-end tests of the index's crash safety. Compiled only
// with QUORIX_TEST_HOOKS; otherwise every call is empty.
#pragma once

namespace QETLib {

// With QUORIX_TEST_CRASH_AT naming `point`, the process kills itself (SIGKILL) here; with
// QUORIX_TEST_DELAY_AT of the form "point:milliseconds" it sleeps here.
#ifdef QUORIX_TEST_HOOKS
void TestHookPoint(const char* point);
#else
inline void TestHookPoint(const char*) {}
#endif

}  // namespace QETLib
