// importconsists: turns an old consist list ("train-0", "train-1", ... each with a name and
// a list of cars) into consist assets, skipping trains whose name a local consist has.
#include <set>

#include "content/tag_container.h"
#include "database/asset_index.h"
#include "database/database_lock.h"
#include "database/edit_lifecycle.h"
#include "database/kuid_generator.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/commands.h"
#include "search/asset_flag_tests.h"
#include "search/filter_element.h"
#include "search/index_asset_source.h"

namespace QETLib {

namespace {

// Local, available, listable consists that nothing has made obsolete.
std::unique_ptr<QADFilterElementGroup> ExistingConsists() {
  auto group = std::make_unique<QADFilterElementGroup>(QADFilterElementGroup::kAll);
  group->Add(std::make_unique<QADFilterElementString>(QADFilterElementString::kCategoryList, "CN"));
  group->Add(std::make_unique<QADFilterElementBool>(kFlagLocal));
  group->Add(std::make_unique<QADFilterElementBool>(kFlagLocallyAvailable));
  group->Add(std::make_unique<QADFilterElementBool>(kFlagListingPrivilege));
  auto not_obsolete = std::make_unique<QADFilterElementGroup>(QADFilterElementGroup::kAll, true);
  not_obsolete->Add(std::make_unique<QADFilterElementBool>(kFlagObsolete));
  group->Add(std::move(not_obsolete));
  return group;
}

bool ConsistNamed(const std::string& name) {
  auto filter = ExistingConsists();
  bool found = false;
  DatabaseLock lock(false);
  IndexAssetSource(TheAssetIndex()).ForEachAsset([&](const AssetView& asset) {
    if (!found && filter->Matches(asset) && asset.Name() == name) found = true;
  });
  return found;
}

KUID NewKUID() {
  DatabaseLock lock(false);
  return GenerateKUID();
}

void ImportTrain(const TagContainer& train, ResultsLog& log) {
  std::string name = train.GetText("name");
  if (ConsistNamed(name)) return;
  EditHandle handle = CreateAsset(NewKUID(), true, name);
  if (!handle) return;
  std::string config_path = Orb::Path::AddPath(handle.folder, "config.txt");
  TagContainer config;
  config.Load({}, config_path, "txt");
  config.MakeWritable();
  config.SetString("kind", "consist");
  config.SetString("username", name);
  config.SetFloat("quorix-build", 3.1f);

  TagContainer list = train.GetContainer("list");
  TagContainer consist_list;
  consist_list.MakeWritable();
  std::set<KUID> cars;
  for (int i = 0; list.HasTag(Orb::Format("car-%d", i)); ++i) {
    TagContainer car;
    car.MakeWritable();
    KUID kuid = list.GetKUID(Orb::Format("car-%d", i));
    car.SetKUID("car-kuid", kuid);
    car.SetInt("car-num", list.GetInt(Orb::Format("num-%d", i), 0));
    car.SetInt("car-dir", list.GetBool(Orb::Format("dir-%d", i), false) ? 1 : 0);
    consist_list.SetContainer(Orb::Format("car-%d", i), car);
    cars.insert(kuid);
  }
  config.SetContainer("consist-list", consist_list);
  TagContainer kuid_table;
  kuid_table.MakeWritable();
  int n = 0;
  for (const KUID& kuid : cars) kuid_table.SetKUID(Orb::Format("%d", n++), kuid);
  config.SetContainer("kuid-table", kuid_table);
  config.Save(config_path, "txt");
  CommitAssetEdits(handle, 0, &log);
}

}  // namespace

int CmdImportConsists(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing input path parameter.");
  TagContainer consists;
  if (!consists.Load(args.PathArg())) return args.ArgumentError("Invalid input path.");
  for (int n = 0; consists.HasTag(Orb::Format("train-%d", n)); ++n) {
    TagContainer train = consists.GetContainer(Orb::Format("train-%d", n));
    if (train.HasTag("name") && train.HasTag("list")) ImportTrain(train, args.log);
  }
  return 0;
}

}  // namespace QETLib
