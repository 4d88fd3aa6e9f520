// Process identity and liveness, and the thread that counts as the main thread.
#pragma once

namespace Orb::Process {

int CurrentId();
// True when a process with this id exists (one we may not signal still counts as alive).
bool IsAlive(int pid);

void RecordMainThread();
bool IsMainThread();

}  // namespace Orb::Process
