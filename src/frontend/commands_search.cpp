// Commands that look at committed assets: searchbycategory, validate and printconfig.
#include <cstdio>

#include "content/tag_container.h"
#include "database/edit_lifecycle.h"
#include "database/folder_scan.h"
#include "engine/text.h"
#include "frontend/commands.h"
#include "search/index_asset_source.h"
#include "search/search_assets.h"
#include "search/validate_asset.h"

namespace QETLib {

int CmdSearchByCategory(CommandArgs& args) {
  SearchCriteria criteria;
  std::string categories = args.FirstAsTyped();
  criteria.presence = kMustHold;
  if (args.First() == "-a") {
    categories = args.Arg(3);
    if (categories.empty()) return args.ArgumentError("Missing category parameter.");
    criteria.presence = kEither;  // assets known only from the download station count too
  }
  criteria.category = Orb::ToUpper(categories);
  std::vector<KUID> found = SearchIndex(criteria);
  if (found.empty()) return -1;
  std::string out = Orb::Format("+ %zu : assets matching the specified criteria\n", found.size());
  for (size_t i = 0; i < found.size(); ++i) {
    out += Orb::Format("+ #%zu : ", i);
    AppendBracketString(found[i], out);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int CmdValidate(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  KUID kuid = Parse(args.First(), true);
  EditHandle committed = GetCommittedCopy(kuid, &args.log);
  if (!committed) return -1;
  ScopedLogAsset scoped(&args.log, kuid);
  ValidateAsset(committed.folder, &args.log);
  return 0;
}

int CmdPrintConfig(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  KUID kuid = Parse(args.First(), true);
  EditHandle committed = GetCommittedCopy(kuid, nullptr);
  TagContainer config;
  if (!committed || !LoadAssetConfig(committed.folder, config)) {
    args.log.Add(Error, kuid, "Asset is not local.");
    return -1;
  }
  std::string name = ToBracketString(kuid);
  std::string text = "+ Start of " + name + " dump\n" + WriteTextToString(config) + "\n+ End of " + name + " dump\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace QETLib
