#include "database/keywords.h"

#include "content/tag_container.h"
#include "database/asset_index.h"
#include "database/database_lock.h"

namespace QETLib {

bool BackupKeywords(const std::string& file_name) {
  TagContainer tags;
  {
    DatabaseLock lock(false);
    if (!lock.Ok()) return false;
    TheAssetIndex().ForEach([&](const AssetRecord& record) {
      tags.SetString(ToBracketString(record.kuid), record.KeywordText());
    });
  }
  return tags.Save(file_name, "txt");
}

bool ImportKeywords(const std::string& path) {
  TagContainer tags;
  if (!tags.Load({}, path, "txt")) return false;
  DatabaseLock lock(true);
  if (!lock.Ok()) return false;
  AssetIndex& index = TheAssetIndex();
  bool changed = false;
  for (uint32_t i = 0; i < tags.TagCount(); ++i) {
    KUID kuid = Parse(tags.TagName(i).View(), false);
    if (kuid.IsNull()) continue;
    AssetRecord* record = index.GetMutable(kuid);
    if (!record) continue;
    record->SetText(AssetRecord::kCategoryKeywords, TagContainer::ValueText(tags.TagValue(i).Get()));
    record->RebuildKeywordText();
    changed = true;
  }
  if (changed) index.MarkChanged();
  return true;
}

}  // namespace QETLib
