// The "status" command: one line with the asset's KUID, its seven status letters, its
// category class and its display name.
#include <cstdio>

#include "content/kuid.h"
#include "database/asset_info.h"
#include "frontend/commands.h"
#include "frontend/status_line.h"

namespace QETLib {

int CmdStatus(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  KUID kuid = Parse(args.First(), true);
  AssetInfo info;
  if (!GetAssetInfo(kuid, kInfoPartAll, info)) {
    args.log.Add(Error, kuid, "Unknown AssetID.");
    return -1;
  }
  std::fputs(StatusLine(info).c_str(), stdout);
  return 0;
}

}  // namespace QETLib
