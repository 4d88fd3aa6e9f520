#include "database/export_asset.h"

#include "content/package.h"
#include "content/package_folder.h"
#include "database/asset_index.h"
#include "database/database_lock.h"
#include "database/copy_publish.h"
#include "database/edit_lifecycle.h"
#include "database/folder_scan.h"
#include "engine/text.h"

namespace QETLib {

namespace {

void Report(ResultsLog* log, const KUID& kuid, std::string_view tag) {
  if (log) log->AddTagged(Error, kuid, tag, {{"asset_kuid", ToBracketString(kuid)}});
}

// Drops every "x.texture" that sits beside its "x.texture.txt" source, in every sub-folder.
void DropCompiledTextures(TagContainer& files) {
  for (uint32_t i = files.TagCount(); i-- > 0;) {
    std::string name(files.TagName(i).View());
    TagContainer sub = files.GetContainer(name);
    if (sub.HasRoot() && !sub.IsEmpty()) {
      sub.MakeWritable();
      DropCompiledTextures(sub);
      files.SetContainer(name, sub);
      continue;
    }
    if (Orb::EndsWithIgnoreCase(name, ".texture") && files.HasTag(name + ".txt")) files.RemoveTag(name);
  }
}

}  // namespace

bool ExportAsset(const KUID& kuid, ResultsLog* log, int flags, TagContainer& entry) {
  bool compressed = !(flags & kExportUncompressed);
  EditHandle committed = GetCommittedCopy(kuid, log);
  if (!committed) {
    Report(log, kuid, "$qad_unable_to_open");
    return false;
  }
  {
    DatabaseLock lock(false);
    const AssetRecord* record = TheAssetIndex().Get(kuid);
    if (record && record->IsOpenForEdit()) {
      Report(log, kuid, "$qad_already_open_for_edit");
      return false;
    }
  }
  TagContainer config;
  if (!LoadAssetConfig(committed.folder, config) || config.IsEmpty()) {
    Report(log, kuid, "$qad_unable_read_config");
    return false;
  }
  config.MakeWritable();
  TagContainer files;
  files.MakeWritable();
  PackageLog package_log;
  if (log)
    package_log = [log, kuid](int level, std::string_view tag, const PackageParams& params) {
      log->AddTagged(level, kuid, tag, params);
    };
  if (!PackFolder(committed.folder, compressed ? kCompressionLZSS : "", package_log, files)) {
    Report(log, kuid, "$qad_unable_read_files");
    return false;
  }
  for (const char* name : {"config.txt", "config.chump"}) files.RemoveTag(name);
  if (flags & kExportDropTextures) DropCompiledTextures(files);
  ApplyAssetFilenameRule(config, committed.folder);
  entry = MakePackageEntry(config, files, compressed);
  return true;
}

}  // namespace QETLib
