#include "database/install.h"

#include "content/package.h"
#include "content/package_folder.h"
#include "database/asset_index.h"
#include "database/asset_info.h"
#include "database/copy_publish.h"
#include "database/database_lock.h"
#include "database/database_paths.h"
#include "database/edit_lifecycle.h"
#include "database/folder_scan.h"
#include "database/record_refresh.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/time.h"
#include "frontend/interface_text.h"

namespace QETLib {

namespace {

const char* const kEntryOnlyTags[] = {"files", "compression", "dsid"};

struct PromptTags {
  const char* prompt;
  const char* log;
};

PromptTags PromptFor(const AssetInfo& info, bool builtin, bool package_item) {
  if (info.flags & kInfoOpenForEdit) return {"$qad_prompt_openforedit", "$qad_prompt_openforedit_log"};
  if (builtin) return {"$qad_prompt_builtin", "$qad_prompt_builtin_log"};
  if (package_item) return {"$qad_prompt_dls_item", "$qad_prompt_dls_item_log"};
  return {"$qad_prompt_alreadyinstalled", "$qad_prompt_alreadyinstalled_log"};
}

MessageParams AssetParams(const KUID& kuid, const std::string& name) {
  return {{"asset_kuid", ToBracketString(kuid)}, {"asset_name", name.empty() ? ToBracketString(kuid) : name}};
}

// The entry's configuration: its tags without the package's own.
TagContainer EntryConfig(const TagContainer& entry) {
  TagContainer config;
  config.MakeWritable();
  for (uint32_t i = 0; i < entry.TagCount(); ++i) {
    // Keep the name alive: a container read from a package file hands out a fresh
    // interned name that the temporary alone holds.
    const Orb::PString tag_name = entry.TagName(i);
    std::string_view name = tag_name.View();
    bool package_tag = false;
    for (const char* tag : kEntryOnlyTags) package_tag = package_tag || name == tag;
    if (!package_tag) config.SetChunk(name, entry.TagValue(i));
  }
  return config;
}

int InstallAssetFolder(const std::string& folder, ResultsLog& log, int flags, QADPromptHandler* prompt) {
  TagContainer config;
  if (!LoadAssetConfig(folder, config)) {
    log.AddTagged(Warning, std::nullopt, "$qad_unable_read_config_at", {{"file_path", folder}});
    return 0;
  }
  config.MakeWritable();
  TagContainer files;
  files.MakeWritable();
  PackageLog package_log = [&log](int level, std::string_view tag, const PackageParams& params) {
    log.AddTagged(level, std::nullopt, tag, params);
  };
  if (!PackFolder(folder, "", package_log, files)) {
    log.AddTagged(Warning, std::nullopt, "$qad_skipping_asset_at", {{"file_path", folder}});
    return 0;
  }
  for (const char* name : {"config.txt", "config.chump"}) files.RemoveTag(name);
  ApplyAssetFilenameRule(config, folder);
  return InstallAsset(MakePackageEntry(config, files, false), log, flags, prompt).IsNull() ? 0 : 1;
}

}  // namespace

int QADPromptHandler::Ask(std::string_view prompt_tag, std::string_view log_tag, const KUID& kuid,
                          const std::string& asset_name, ResultsLog& log) {
  int answer;
  auto known = remembered_.find(prompt_tag);
  if (known != remembered_.end() && (known->second == kPromptSkipAll || known->second == kPromptOverwriteAll)) {
    answer = known->second;
  } else {
    answer = inner_ ? inner_(prompt_tag, kuid) : kPromptOverwrite;
    remembered_[std::string(prompt_tag)] = answer;
    if (answer == kPromptCancel) cancelled_ = true;
  }
  if (answer >= kPromptSkip && answer <= kPromptOverwriteAll) {
    std::string action = Translate(answer <= kPromptSkipAll ? "$qad_prompt_skipped" : "$qad_prompt_overwritten");
    log.AddTagged(Warning, kuid, log_tag, {{"asset_name", asset_name}, {"action", action}});
  }
  return answer;
}

KUID InstallAsset(const TagContainer& entry, ResultsLog& log, int flags, QADPromptHandler* prompt) {
  KUID kuid = entry.GetKUID("kuid");
  std::string name = entry.GetText("username");
  ScopedLogAsset scoped(&log, kuid);
  AssetInfo info;
  bool present = false, builtin = false, package_item = false;
  {
    DatabaseLock lock(false);
    if (const AssetRecord* record = TheAssetIndex().Get(kuid)) {
      present = record->IsPresent();
      builtin = (record->check_flags & kCheckBuiltin) != 0;
      package_item = (record->state_flags & kStatePackageItem) != 0;
      GetAssetInfo(TheAssetIndex(), kuid, kInfoPartFlags, info);
    }
  }
  if (present) {
    if (prompt) {
      PromptTags tags = PromptFor(info, builtin, package_item);
      int answer = prompt->Ask(tags.prompt, tags.log, kuid, name.empty() ? ToBracketString(kuid) : name, log);
      if (answer != kPromptOverwrite && answer != kPromptOverwriteAll) return KUID::Null();
    }
    flags &= ~kInstallCommit;  // an overwritten asset is left open for edit
  }
  EditHandle handle = present ? OpenForEdit(kuid, nullptr) : CreateAsset(kuid, false, name);
  if (!handle) {
    log.AddTagged(Error, kuid, "$qad_write_error", AssetParams(kuid, name));
    return KUID::Null();
  }
  if (present) {
    if (!DatabaseDelete("", handle.folder) && Orb::File::Exists(handle.folder)) {
      log.AddTagged(Error, kuid, "$qad_overwrite_error", AssetParams(kuid, name));
      return KUID::Null();
    }
    Orb::File::Md(handle.folder);
  }
  std::string error = UnpackFolder(entry.GetContainer("files"), handle.folder, entry.GetText("compression"));
  if (!error.empty()) {
    log.AddTagged(Error, kuid, "$qad_failed_install", AssetParams(kuid, name));
    RevertAssetEdits(kuid, nullptr);
    return KUID::Null();
  }
  bool commit = (flags & kInstallCommit) != 0;
  TagContainer config = EntryConfig(entry);
  config.Save(Orb::Path::AddPath(handle.folder, commit ? "config.chump" : "config.txt"), commit ? "chump" : "txt");
  if (commit) {
    if (!CommitAssetEdits(handle, (flags & kInstallNoTextures) ? kCommitNoTextures : 0, &log)) return KUID::Null();
  }
  DatabaseLock lock(true);
  AssetIndex& index = TheAssetIndex();
  if (AssetRecord* record = index.GetMutable(kuid)) {
    if (!commit) RefreshRecordFromFolder(index, *record, handle.folder);
    record->time1 = record->time2 = Orb::Time::NowUnixSeconds();
    index.MarkChanged();
  }
  log.AddTagged(Success, kuid, "$qad_installed", AssetParams(kuid, name));
  return kuid;
}

int InstallFromCDP(const std::string& path, ResultsLog& log, int flags, QADPromptHandler* prompt) {
  DatabaseLock lock(true);
  TagContainer package;
  std::string error = ReadPackage(package, "", path);
  if (!error.empty()) {
    log.AddTagged(Error, std::nullopt, "$qad_unreadable_cdp", {{"file_path", path}});
    return 0;
  }
  TagContainer assets = package.GetContainer("assets");
  int installed = 0;
  for (uint32_t i = 0; i < assets.TagCount(); ++i) {
    TagContainer entry(assets.TagValue(i));
    KUID kuid = InstallAsset(entry, log, flags, prompt);
    if (kuid.IsNull() && prompt && prompt->Cancelled()) break;
    if (!kuid.IsNull()) ++installed;
  }
  return installed;
}

int InstallFromFolder(const std::string& path, ResultsLog& log, int flags, QADPromptHandler* prompt) {
  if (path.empty()) return 0;
  if (HoldsAssetConfig(path)) {
    InstallAssetFolder(path, log, flags, prompt);
    return 1;  // every asset folder found counts, whether or not its install succeeded
  }
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(path, entries)) return 0;
  int count = 0;
  for (const Orb::FindEntry& entry : entries) {
    if (!entry.is_folder || entry.is_link) continue;
    count += InstallFromFolder(entry.path, log, flags, prompt);
    if (prompt && prompt->Cancelled()) break;
  }
  return count;
}

}  // namespace QETLib
