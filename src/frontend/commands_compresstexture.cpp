// The "compresstexture" command: an image file compressed into a DXT texture file
// (.dds) beside it.
#include "frontend/commands.h"

namespace QETLib {

int CmdCompressTexture(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return NotAvailable(args);
}

}  // namespace QETLib
