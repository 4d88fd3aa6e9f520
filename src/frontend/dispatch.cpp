#include "frontend/dispatch.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/quorix_ex.h"
#include "engine/text.h"
#include "frontend/commands.h"

namespace QETLib {

namespace {

struct CommandRow {
  std::string_view keyword;
  CommandHandler handler;
};

// Compared in this order; the first match runs.
constexpr CommandRow kCommandTable[] = {
    {"version", CmdVersion},
    {"installedversion", CmdInstalledVersion},
    {"installedbuildnumber", CmdInstalledBuildNumber},
    {"echo", CmdEcho},
    {"setlanguage", CmdSetLanguage},
    {"installcdp", CmdInstallCDP},
    {"installfrompath", CmdInstallFromPath},
    {"importconsists", CmdImportConsists},
    {"edit", CmdEdit},
    {"printconfig", CmdPrintConfig},
    {"compile", CmdCompile},
    {"encrypt", CmdEncrypt},
    {"listbuilds", CmdListBuilds},
    {"commit", CmdCommit},
    {"revert", CmdRevert},
    {"delete", CmdDelete},
    {"generatekuid", CmdGenerateKUID},
    {"repairdatabase", CmdRepairDatabase},
    {"compresstexture", CmdCompressTexture},
    {"authors", CmdAuthors},
    {"searchbycategory", CmdSearchByCategory},
    {"status", CmdStatus},
    {"validate", CmdValidate},
    {"createcdp", CmdCreateCDP},
    {"dlsparse", CmdDLSParse},
    {"dlsdeleteall", CmdDLSDeleteAll},
    {"backupkeywords", CmdBackupKeywords},
    {"importkeywords", CmdImportKeywords},
};

constexpr int kFatalExitCode = -100;

void EndAfterFatal() {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(kFatalExitCode & 0xFF);
}

extern "C" void OnHardwareFault(int) { _exit(kFatalExitCode & 0xFF); }

// Hardware faults inside a command end the process like an escaped QuorixEx.
class FaultGuard {
 public:
  FaultGuard() {
    struct sigaction action {};
    action.sa_handler = OnHardwareFault;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
  }
  ~FaultGuard() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
  }

 private:
  static constexpr int kSignals[3] = {SIGSEGV, SIGBUS, SIGFPE};
  struct sigaction previous_[3];
};

#ifdef QUORIX_TEST_HOOKS
// Test builds only: QUORIX_TEST_FAULT=<keyword>:raise|segv makes that command fail fatally,
// so the tests can see how a fatal failure ends the process.
void InjectTestFault(const Orb::PString& keyword) {
  const char* fault = std::getenv("QUORIX_TEST_FAULT");
  if (!fault) return;
  std::string_view spec(fault);
  size_t colon = spec.find(':');
  if (colon == std::string_view::npos || spec.substr(0, colon) != keyword.View()) return;
  std::string_view kind = spec.substr(colon + 1);
  if (kind == "raise") Orb::RaiseError("test fault");
  if (kind == "segv") raise(SIGSEGV);
}
#endif

}  // namespace

int DispatchCommand(ResultsLog& log, EngineContext& context, int argc, char** argv) {
  Orb::PString keyword(Orb::ToLower(argc >= 2 ? argv[1] : ""));
  Orb::PString first(argc >= 3 ? Orb::ToLower(argv[2]) : std::string());
  CommandArgs args{log, context, argc, argv, keyword, first};
#ifdef QUORIX_TEST_HOOKS
  InjectTestFault(keyword);
#endif
  for (const CommandRow& row : kCommandTable)
    if (keyword.View() == row.keyword) return row.handler(args);
  log.Add(Error, "Invalid argument, please check the help for the list of valid argument\n");
  return -1;
}

int ExecuteCommand(ResultsLog& log, EngineContext& context, int argc, char** argv) {
  FaultGuard guard;
  try {
    return DispatchCommand(log, context, argc, argv);
  } catch (const std::exception&) {
    EndAfterFatal();
  }
  return kFatalExitCode;
}

}  // namespace QETLib
