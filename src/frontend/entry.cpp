#include "frontend/entry.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "engine/application.h"
#include "engine/process.h"
#include "engine/text.h"
#include "frontend/batch.h"
#include "frontend/dispatch.h"
#include "frontend/engine_context.h"
#include "frontend/help_text.h"
#include "frontend/results_log.h"
#include "database/ipc_controller.h"

namespace QETLib {

// Ends the process at once; the OS keeps the code modulo 256.
[[noreturn]] static void EndProcess(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(code & 0xFF);
}

static int Finish(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  return code & 0xFF;
}

int QuorixMain(int argc, char** argv) {
  std::string index_path = IndexPathFor(ProgramPath());
  bool patcher = argc >= 3 && std::strcmp(argv[1], "repairdatabase") == 0 && std::strcmp(argv[2], "patcher") == 0;
  if (!OpenIPCController(index_path, patcher)) {
    std::fprintf(stderr, "- Unable to open IPC controller %d\n", patcher ? 1 : 0);
    return Finish(-1);
  }
  if (argc < 2) {
    std::fputs(kHelpText, stdout);
    return Finish(-1);
  }
  if (Orb::EqualsIgnoreCase(argv[1], "help")) {
    std::fputs(kHelpText, stdout);
    return Finish(0);
  }

  EngineContext context;
  if (Initialise(context, argc, argv) != 0) return Finish(-1);
  Orb::SetApplicationName("QuorixUtil");
  Orb::Process::RecordMainThread();

  int code;
  if (argv[1][0] == '@') {
    code = RunBatchFile(context, argv[1] + 1, argv[0]);
  } else {
    ResultsLog log;
    code = ExecuteCommand(log, context, argc, argv);
    log.Print(stdout);
  }
  Shutdown(context);
  EndProcess(code);
}

}  // namespace QETLib
