// Commands that need nothing beyond the front end itself.
#include <cstdio>

#include "frontend/commands.h"

namespace QETLib {

constexpr int kBuildNumber = 40088;
constexpr int kInstalledVersion = 310;

int CmdVersion(CommandArgs&) {
  std::printf("Build %d\n", kBuildNumber);
  return 0;
}

int CmdInstalledVersion(CommandArgs&) { return kInstalledVersion; }

int CmdInstalledBuildNumber(CommandArgs&) { return kBuildNumber; }

int CmdEcho(CommandArgs& args) {
  for (int i = 2; i < args.argc; ++i) std::printf("%s ", args.argv[i]);
  std::printf("\n");
  return 0;
}

}  // namespace QETLib
