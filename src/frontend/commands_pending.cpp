// Commands whose operations are not part of this build yet: their argument checks run
// as they will for good, then they report plainly that the operation is missing.
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/commands.h"

namespace QETLib {

int CmdCompressTexture(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return NotAvailable(args);
}

int CmdDLSParse(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing CDP filepath.");
  return NotAvailable(args);
}

}  // namespace QETLib
