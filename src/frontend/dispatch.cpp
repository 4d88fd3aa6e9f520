#include "frontend/dispatch.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
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

}  // namespace

int DispatchCommand(ResultsLog& log, EngineContext& context, int argc, char** argv) {
  Orb::PString keyword(Orb::ToLower(argc >= 2 ? argv[1] : ""));
  Orb::PString first(argc >= 3 ? Orb::ToLower(argv[2]) : std::string());
  CommandArgs args{log, context, argc, argv, keyword, first};
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
