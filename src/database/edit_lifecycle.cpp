#include "database/edit_lifecycle.h"

#include "content/package_folder.h"
#include "content/tag_container.h"
#include "database/asset_check.h"
#include "database/asset_folders.h"
#include "database/asset_index.h"
#include "database/asset_info.h"
#include "database/copy_publish.h"
#include "database/database.h"
#include "database/database_lock.h"
#include "database/database_paths.h"
#include "database/folder_scan.h"
#include "database/record_refresh.h"
#include "database/temp_path.h"
#include "database/test_hooks.h"
#include "database/worker_registry.h"
#include "engine/file.h"
#include "engine/log.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/interface_text.h"

namespace QETLib {

namespace {

void Report(ResultsLog* log, int severity, const KUID& kuid, std::string_view tag) {
  if (log) log->AddTagged(severity, kuid, tag, {{"asset_kuid", ToBracketString(kuid)}});
}

PackageLog ToPackageLog(ResultsLog* log, const KUID& kuid) {
  if (!log) return {};
  return [log, kuid](int level, std::string_view tag, const PackageParams& params) {
    log->AddTagged(level, kuid, tag, params);
  };
}

// Makes the editing folder for `record` (named after the asset when that name is free).
bool MakeEditingFolder(AssetRecord& record, const std::string& root, std::string& folder) {
  std::string base = Orb::Path::AddPath(root, "editing");
  if (!CreateTemporaryFilePath("", base, "edit ", "", std::string(record.DisplayName()), folder)) return false;
  if (!Orb::File::Md(folder)) return false;
  record.SetText(AssetRecord::kEditingPath, Orb::Path::MakeRelativeTo(folder, root));
  return true;
}

bool MakeCommittedFolder(AssetRecord& record, const std::string& root, std::string& folder) {
  std::string bucket = Orb::Path::AddPath(Orb::Path::AddPath(root, "local"), CommittedBucketName(record.kuid));
  if (!CreateTemporaryFilePath("", bucket, "content ", "", "", folder)) return false;
  if (!Orb::File::Md(folder)) return false;
  record.SetText(AssetRecord::kLocalPath, Orb::Path::MakeRelativeTo(folder, root));
  return true;
}

// Deletes a folder of the installation; a path outside it is refused.
bool DeleteFolder(const std::string& folder) { return folder.empty() || DatabaseDelete("", folder); }

// The file check before publishing: every name must be one a package can carry.
bool CheckFiles(const std::string& folder, ResultsLog* log, const KUID& kuid) {
  return CheckFolder(folder, ToPackageLog(log, kuid));
}

EditHandle OpenLocked(AssetIndex& index, const KUID& kuid, ResultsLog* log, bool report) {
  AssetRecord* record = index.GetMutable(kuid);
  if (!record) return {};
  std::string root = DatabaseRootFolder();
  if (!(record->permission_flags & kPermitEdit)) {
    Report(log, Error, kuid, "$qad_edit_perm");
    return {};
  }
  if (record->IsOpenForEdit()) return {kuid, EditingFolder(*record, root)};
  std::string source = CommittedFolder(*record, root);
  std::string folder;
  if (!MakeEditingFolder(*record, root, folder)) {
    record->SetText(AssetRecord::kEditingPath, "");
    Report(log, Error, kuid, "$qad_open_file_error");
    return {};
  }
  index.MarkChanged();
  if (!source.empty() && !CopyPublish(source, folder, false, ToPackageLog(log, kuid)).ok) {
    Orb::File::Prune(folder);
    record->SetText(AssetRecord::kEditingPath, "");
    RefreshRecordFromFolder(index, *record, source);
    Report(log, Error, kuid, "$qad_copy_file_error");
    return {};
  }
  if (report) Report(log, Success, kuid, "$qad_log_openforedit_success");
  return {kuid, folder};
}

}  // namespace

std::string CommittedBucketName(const KUID& kuid) {
  uint32_t x = static_cast<uint32_t>(kuid.user) ^ static_cast<uint32_t>(kuid.content);
  x ^= x >> 16;
  uint8_t h = static_cast<uint8_t>(x ^ (x >> 8));
  return Orb::Format("hash-%02X", h);
}

EditHandle OpenForEdit(const KUID& kuid, ResultsLog* log) {
  DatabaseLock lock(true);
  if (!lock.Ok()) return {};
  return OpenLocked(TheAssetIndex(), kuid, log, true);
}

EditHandle GetCommittedCopy(const KUID& kuid, ResultsLog* log) {
  DatabaseLock lock(false);
  if (!lock.Ok()) return {};
  const AssetRecord* record = TheAssetIndex().Get(kuid);
  if (!record) return {};
  if (record->LocalPath().empty() && record->ResourcePath().empty()) {
    Report(log, Error, kuid, "$qad_not_committed");
    return {};
  }
  return {kuid, CommittedFolder(*record, DatabaseRootFolder())};
}

bool CommitAssetEdits(const EditHandle& handle, int flags, ResultsLog* log, bool* editing_kept) {
  if (editing_kept) *editing_kept = false;
  if (!handle) return false;
  DatabaseLock lock(true);
  if (!lock.Ok()) return false;
  AssetIndex& index = TheAssetIndex();
  AssetRecord* record = index.GetMutable(handle.kuid);
  if (!record) return false;
  const KUID kuid = record->kuid;
  std::string root = DatabaseRootFolder();
  if (!(record->permission_flags & kPermitCommit)) {
    Report(log, Error, kuid, "$qad_commit_perm");
    return false;
  }
  if (!record->IsOpenForEdit()) {
    Report(log, Error, kuid, "$qad_commit_open_for_edit");
    return false;
  }
  if (!record->ResourcePath().empty()) flags &= ~kCommitLocalDatabase;
  std::string editing = EditingFolder(*record, root);
  std::string destination;
  if (record->IsLocal()) {
    destination = Orb::Path::AddPath(root, record->LocalPath());
  } else if (!MakeCommittedFolder(*record, root, destination)) {
    Report(log, Error, kuid, "$qad_commit_database_error");
    return false;
  }
  TagContainer config;
  if (!LoadAssetConfig(editing, config)) {
    Report(log, Error, kuid, "$qad_commit_missing_config");
    return false;
  }
  if (config.GetKUID("kuid") != kuid) {
    Report(log, Error, kuid, "$qad_commit_wrong_kuid");
    return false;
  }
  if (!(flags & kCommitSkipFileCheck) && !CheckFiles(editing, log, kuid)) {
    Report(log, Error, kuid, "$qad_commit_invalid_files");
    return false;
  }
  if (!CopyPublish(editing, destination, true, ToPackageLog(log, kuid)).ok) {
    Report(log, Error, kuid, "$qad_commit_file_error");
    return false;
  }
  TestHookPoint("commit-published");
  if (!(flags & kCommitKeepEditing)) {
    if (!DeleteFolder(editing) && editing_kept) *editing_kept = true;
    record->SetText(AssetRecord::kEditingPath, "");
  }
  if ((flags & kCommitLocalDatabase) && record->ResourcePath().empty() && record->LocalPath().size() >= 7) {
    record->SetText(AssetRecord::kResourcePath, record->LocalPath().substr(6));
    record->resource_database = Orb::PString("local");
    record->SetText(AssetRecord::kLocalPath, "");
  }
  index.MarkChanged();
  std::string committed = CommittedFolder(*record, root);
  if (!RefreshRecordFromFolder(index, *record, committed))
    Orb::Log::Write("QADCommitAssetEdits> unable to update asset info\n");
  // The published folder is what a later repair compares against, and what the F letter
  // speaks about.
  record->folder_signature = FolderSignature(committed);
  RecheckAsset(*record, committed);
  index.InvalidateDependencyStates();
  Report(log, Success, kuid, "$qad_log_commit_success");
  return true;
}

bool RevertAssetEdits(const KUID& kuid, ResultsLog* log) {
  bool drop_record = false;
  {
    DatabaseLock lock(true);
    if (!lock.Ok()) return false;
    AssetIndex& index = TheAssetIndex();
    AssetRecord* record = index.GetMutable(kuid);
    if (!record || !record->IsOpenForEdit()) return true;
    DeleteFolder(EditingFolder(*record, DatabaseRootFolder()));
    record->SetText(AssetRecord::kEditingPath, "");
    index.MarkChanged();
    drop_record = record->LocalPath().empty() && record->ResourcePath().empty();
  }
  // An asset that only ever existed as an editing copy goes altogether.
  if (drop_record) DeleteAsset(kuid, true, nullptr);
  Report(log, Success, kuid, "$qad_log_revert_success");
  return true;
}

bool DeleteAsset(const KUID& kuid, bool drop, ResultsLog* log) {
  DatabaseLock lock(true);
  if (!lock.Ok()) return false;
  AssetIndex& index = TheAssetIndex();
  AssetRecord* record = index.GetMutable(kuid);
  if (!record) return false;
  if (IsArchived(index, *record)) {
    Report(log, Error, kuid, "$qad_log_delete_err_archive");
    return false;
  }
  if (WorkerRegistry* workers = DatabaseWorkers()) workers->Release(kuid);
  std::string root = DatabaseRootFolder();
  bool builtin = (record->check_flags & kCheckBuiltin) != 0;
  DeleteFolder(EditingFolder(*record, root));
  record->SetText(AssetRecord::kEditingPath, "");
  if (record->IsLocal()) {
    DeleteFolder(Orb::Path::AddPath(root, record->LocalPath()));
    record->SetText(AssetRecord::kLocalPath, "");
  }
  if (!record->ResourcePath().empty() && !builtin) {
    DeleteFolder(CommittedFolder(*record, root));
    record->SetText(AssetRecord::kResourcePath, "");
    record->resource_database = Orb::PString();
  }
  index.MarkChanged();
  bool keep = !drop || builtin || (record->state_flags & kStateDownloadStation);
  if (keep) {
    std::string folder = CommittedFolder(*record, root);
    if (!folder.empty() && !RefreshRecordFromFolder(index, *record, folder))
      Orb::Log::Write("QADDeleteAsset> warning: unable to update asset info\n");
  } else {
    index.Remove(kuid);
  }
  index.InvalidateDependencyStates();
  Report(log, Success, kuid, "$qad_log_delete_success");
  return true;
}

EditHandle CreateAsset(const KUID& kuid, bool initial_config, const std::string& name) {
  if (kuid.IsNull()) return {};
  DatabaseLock lock(true);
  if (!lock.Ok()) return {};
  AssetIndex& index = TheAssetIndex();
  if (!index.Get(kuid)) {
    AssetRecord record;
    record.kuid = kuid;
    record.SetText(AssetRecord::kName, name);
    record.stamp = index.CurrentStamp();
    index.Put(std::move(record));
  }
  EditHandle handle = OpenLocked(index, kuid, nullptr, false);
  if (!handle) return {};
  if (initial_config) {
    TagContainer config;
    config.SetKUID("kuid", kuid);
    config.SetString("kind", "unknown");
    config.Save(Orb::Path::AddPath(handle.folder, "config.txt"), "txt");
  }
  std::string text = Translate("$qad_log_asset_created");
  SubstituteParameter(text, "ASSET_KUID", ToBracketString(kuid));
  Orb::Log::Write(text + "\n");
  return handle;
}

}  // namespace QETLib
