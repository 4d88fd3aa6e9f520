// The "dlsparse" command: installs a package for the download station, then reports on
// each of its assets and writes each one out as its own package with a thumbnail.
#include "frontend/commands.h"

namespace QETLib {

int CmdDLSParse(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing CDP filepath.");
  return NotAvailable(args);
}

}  // namespace QETLib
