#include "database/record_refresh.h"

#include "database/folder_scan.h"
#include "database/record_builder.h"

namespace QETLib {

bool RefreshRecordFromFolder(AssetIndex& index, AssetRecord& record, const std::string& folder) {
  TagContainer config;
  if (folder.empty() || !LoadAssetConfig(folder, config) || config.GetKUID("kuid") != record.kuid) return false;
  AssetRecord fresh = record;
  if (!FillRecordFromConfig(config, (record.check_flags & kCheckBuiltin) != 0, record.time1, fresh)) return false;
  fresh.SetText(AssetRecord::kEditingPath, record.EditingPath());
  fresh.SetText(AssetRecord::kResourcePath, record.ResourcePath());
  fresh.SetText(AssetRecord::kLocalPath, record.LocalPath());
  fresh.resource_database = record.resource_database;
  fresh.time1 = record.time1;
  fresh.time2 = record.time2;
  fresh.folder_signature = record.folder_signature;
  fresh.stamp = index.CurrentStamp();
  record = std::move(fresh);
  index.Extras().dependencies[record.kuid] = ConfigDependencies(config);
  index.MarkChanged();
  return true;
}

}  // namespace QETLib
