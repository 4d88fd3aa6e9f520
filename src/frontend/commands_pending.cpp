// Commands whose operations are not part of this build yet: their argument checks run
// as they will for good, then they report plainly that the operation is missing.
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/commands.h"

namespace QETLib {

int CmdImportConsists(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing input path parameter.");
  return NotAvailable(args);
}

int CmdPrintConfig(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return NotAvailable(args);
}

int CmdListBuilds(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing path parameter.");
  return NotAvailable(args);
}

int CmdCompressTexture(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return NotAvailable(args);
}

int CmdSearchByCategory(CommandArgs& args) {
  if (args.HasFirst() && args.First() == "-a" && args.argc < 4)
    return args.ArgumentError("Missing category parameter.");
  return NotAvailable(args);
}

int CmdValidate(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return NotAvailable(args);
}

int CmdCreateCDP(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing output path parameter.");
  if (!Orb::Path::IsExt(args.FirstAsTyped(), "cdp"))
    return args.ArgumentError("The output filename must have a .cdp extension.");
  return NotAvailable(args);
}

int CmdDLSParse(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing CDP filepath.");
  return NotAvailable(args);
}

int CmdDLSDeleteAll(CommandArgs& args) { return NotAvailable(args); }

}  // namespace QETLib
