// Commands that export or drop installed assets, and the installed-builds list:
// createcdp, dlsdeleteall and listbuilds.
#include <cstdio>

#include "content/package.h"
#include "content/settings.h"
#include "database/asset_index.h"
#include "database/asset_info.h"
#include "database/database_lock.h"
#include "database/edit_lifecycle.h"
#include "database/export_asset.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/commands.h"
#include "search/filter_element.h"
#include "search/asset_flag_tests.h"
#include "search/index_asset_source.h"

namespace QETLib {

int CmdCreateCDP(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing output path parameter.");
  std::string output = args.FirstAsTyped();
  if (!Orb::Path::IsExt(output, "cdp")) return args.ArgumentError("The output filename must have a .cdp extension.");
  TagContainer package;
  package.MakeWritable();
  for (int i = 3; i < args.argc; ++i) {
    KUID kuid = Parse(args.argv[i], false);
    if (kuid.IsNull()) return args.ArgumentError("Invalid AssetID.");
    AssetInfo info;
    if (!GetAssetInfo(kuid, kInfoPartFlags, info) || !(info.flags & kInfoPresent)) {
      args.log.Add(Error, kuid, "Asset is not local.");
      return -1;
    }
    // An asset that cannot be exported ends the command with nothing written: a package
    // quietly missing one of the assets asked for would pass for a good one.
    TagContainer entry;
    if (!ExportAsset(kuid, &args.log, kExportUncompressed | kExportDropTextures, entry)) return -1;
    std::string refused = AddAssetToPackage(package, entry);
    if (!refused.empty()) args.log.Add(Error, kuid, refused);
  }
  std::string error = WritePackage(package, output);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return -1;
  }
  return 0;
}

int CmdDLSDeleteAll(CommandArgs&) {
  QADFilterElementBool local(kFlagLocal);
  std::vector<KUID> selected;
  {
    DatabaseLock lock(false);
    IndexAssetSource(TheAssetIndex()).ForEachAsset([&](const AssetView& asset) {
      if (local.Matches(asset)) selected.push_back(asset.Kuid());
    });
  }
  for (const KUID& kuid : selected) DeleteAsset(kuid, true, nullptr);
  return 0;
}

int CmdListBuilds(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing path parameter.");
  Orb::File out;
  if (!out.Open(args.PathArg(), Orb::File::kCreate)) return args.ArgumentError("Failed to open output file.");
  TagContainer settings;
  LoadDownloadStationSettings(args.context.root, settings);
  TagContainer builds = settings.GetContainer("installed-builds");
  std::string line;
  if (!builds.HasTag("product_build_0")) {
    line = "40088,";
  } else {
    line = Orb::Format("%d,", builds.GetInt("product_build_0"));
    for (uint32_t i = 0; i < builds.TagCount(); ++i) {
      const Orb::PString tag = builds.TagName(i);  // keeps the name alive while it is read
      std::string_view name = tag.View();
      if (name.substr(0, 14) != "product_build_") continue;
      long suffix = std::strtol(std::string(name.substr(14)).c_str(), nullptr, 10);
      if (suffix != 0) line += Orb::Format("%d,", builds.GetInt(name));
    }
  }
  out.WriteLine(line);
  return 0;
}

}  // namespace QETLib
