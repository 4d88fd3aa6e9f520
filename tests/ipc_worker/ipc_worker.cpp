// A helper process for the ownership tests: it drives one process's side of the protocol,
// either by commands read line by line from standard input or by one "hammer" run.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "database/database.h"
#include "database/database_lock.h"
#include "database/ipc_controller.h"
#include "database/ipc_state.h"
#include "database/layout.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/process.h"

using namespace QETLib;

namespace {

std::string IndexPath(const std::string& root) { return Orb::Path::AddPath(root, "assets.tdx"); }

// Takes and releases the write lock `times` times, adding one to the number in
// `counter_file` each time, bumping the shared change counter like an index write-back
// and handing ownership over when another process waits.
int Hammer(const std::string& root, int times, const std::string& counter_file) {
  if (!OpenIPCController(IndexPath(root), false)) return 2;
  SetInstallationRootFolder(root);
  DatabaseSettings settings;
  settings.root = root;
  settings.start_download_service = false;
  if (!StartDatabase(settings)) return 3;
  for (int i = 0; i < times; ++i) {
    DatabaseLock lock(true);
    if (!lock.IsHeld()) return 4;
    std::string text;
    Orb::ReadWholeFile(counter_file, text);
    long value = text.empty() ? 0 : std::strtol(text.c_str(), nullptr, 10);
    if (!Orb::WriteWholeFile(counter_file, std::to_string(value + 1))) return 5;
    IPCIncrementChangeCounter();
    if (HasPendingRequest()) ReleaseOwnership();
  }
  StopDatabase();
  return 0;
}

std::string View() {
  IPCBlockView v;
  if (!IPCReadBlock(v)) return "closed";
  std::ostringstream out;
  out << v.controller << ' ' << v.owner << ' ' << v.requester << ' ' << v.change_counter << ' ' << v.counting << ' '
      << int(v.attached) << ' ' << v.exclusive << ' ' << int(v.repair_admission);
  return out.str();
}

std::string Execute(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  if (command == "open") {
    std::string root;
    int repair = 0;
    in >> root >> repair;
    return OpenIPCController(IndexPath(root), repair != 0) ? "ok" : "fail";
  }
  if (command == "close") return CloseIPCController(), "ok";
  if (command == "pid") return std::to_string(Orb::Process::CurrentId());
  if (command == "view") return View();
  if (command == "try") {
    int reg = 1;
    in >> reg;
    return TryAcquireOwnership(reg != 0) ? "1" : "0";
  }
  if (command == "acquire") return AcquireOwnership(), "ok";
  if (command == "release") return ReleaseOwnership(), "ok";
  if (command == "idle") return IPCIdle(), "ok";
  if (command == "pending") return HasPendingRequest() ? "1" : "0";
  if (command == "owner") return IPCIsOwner() ? "1" : "0";
  if (command == "controller") return IPCIsController() ? "1" : "0";
  if (command == "bump") return std::to_string(IPCIncrementChangeCounter());
  if (command == "exclusive") {
    int exclusive = 0, admit = 0;
    in >> exclusive >> admit;
    return IPCSetExclusive(exclusive != 0, admit != 0), "ok";
  }
  if (command == "hold-mutex") return ipc::Get().mutex.Lock(), "holding";
  return "unknown " + command;
}

}  // namespace

int main(int argc, char** argv) {
  Orb::Process::RecordMainThread();
  if (argc == 5 && std::string(argv[1]) == "hammer") return Hammer(argv[2], std::atoi(argv[3]), argv[4]);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line == "exit") break;
    std::cout << Execute(line) << std::endl;
  }
  CloseIPCController();
  return 0;
}
