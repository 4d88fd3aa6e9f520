// Loading, first-change step and write-back of the asset index.
#include "database/index_store.h"

#include "database/database.h"
#include "database/database_lock.h"
#include "database/disk_space.h"
#include "database/folder_scan.h"
#include "database/index_file.h"
#include "database/ipc_controller.h"
#include "database/test_hooks.h"
#include "engine/file.h"
#include "engine/log.h"
#include "engine/path.h"
#include "engine/time.h"

namespace QETLib {

std::string IndexStore::Root() const { return root_.empty() ? DatabaseRootFolder() : root_; }
std::string IndexStore::RootIndexPath() const { return Orb::Path::AddPath(Root(), "assets.tdx"); }
std::string IndexStore::TempIndexPath() const { return Orb::Path::AddPath(Root(), "cache/assets.tdx"); }
std::string IndexStore::BackupIndexPath() const { return Orb::Path::AddPath(Root(), "cache/assets.bku"); }

void IndexStore::Install() {
  index_.SetFirstChangeHandler([this] { FirstChangeStep(); });
  RegisterIndexHooks(this);
}

void IndexStore::Uninstall() {
  if (CurrentIndexHooks() == this) RegisterIndexHooks(nullptr);
  index_.SetFirstChangeHandler(nullptr);
}

void IndexStore::Empty() {
  index_.Clear();
  index_.ClearDirty();
  index_.TakeChangeFlags();
}

void IndexStore::Load() {
  // Loading itself must not run the first-change step: nothing is changed yet.
  index_.SetFirstChangeHandler(nullptr);
  index_.Clear();
  index_.ClearDirty();
  root_file_unreadable_ = false;
  std::string root_path = RootIndexPath();
  if (ReadIndexFile(index_, root_path)) {
    index_.SetFirstChangeHandler([this] { FirstChangeStep(); });
    return;
  }
  root_file_unreadable_ = Orb::File::Exists(root_path);
  index_.RaiseValidationLevel(100);
  index_.ClearDirty();
  index_.SetFirstChangeHandler([this] { FirstChangeStep(); });
  if (!CurrentDatabaseSettings().recover_when_unreadable) return;

  bool recovered = false;
  if (ReadIndexFile(index_, TempIndexPath())) {
    // The finished temporary file of an interrupted write-back becomes the backup.
    index_.RaiseValidationLevel(100);
    Orb::File::Unlink(BackupIndexPath());
    Orb::File::Rename(TempIndexPath(), BackupIndexPath());
    recovered = true;
  } else if (ReadIndexFile(index_, BackupIndexPath())) {
    recovered = true;
  }
  if (!recovered) {
    index_.SetFirstChangeHandler(nullptr);
    RebuildIndexByScan(index_, Root());
    index_.ClearDirty();
    index_.SetFirstChangeHandler([this] { FirstChangeStep(); });
    index_.MarkChanged(kChangeRecords);  // runs the first-change step
    return;
  }
  // Open-for-edit copies may have changed since the backup was written.
  ScanFolderIntoIndex(index_, Root(), ScanFolder{"editing", AssetLocation::kEditing}, Orb::Time::NowUnixSeconds());
  index_.MarkChanged(kChangeRecords);  // runs the first-change step
  WriteDatabaseLocal();
}

void IndexStore::FirstChangeStep() {
  std::string root_path = RootIndexPath();
  if (!Orb::File::Exists(root_path)) return;
  if (root_file_unreadable_) {
    // An unreadable root file is no backup: keep the good backup and drop the bad file.
    Orb::File::Unlink(root_path);
    root_file_unreadable_ = false;
  } else {
    Orb::File::Unlink(BackupIndexPath());
    Orb::File::Md(Orb::Path::AddPath(Root(), "cache"));
    Orb::File::Rename(root_path, BackupIndexPath());
  }
  TestHookPoint("index-first-change");
}

bool IndexStore::WriteDatabaseLocal() {
  const bool hand_over = HasPendingRequest();
  DatabaseLock lock(hand_over);
  if (!lock.Ok()) return false;
  index_.ClearDirty();
  write_in_progress_ = true;

  std::string temp_path = TempIndexPath();
  std::string root_path = RootIndexPath();
  bool ok = false;
  Orb::File::Md(Orb::Path::AddPath(Root(), "cache"));
  Orb::File::Unlink(temp_path);
  TestHookPoint("index-write-begin");
  if (!WriteIndexFile(index_, temp_path)) {
    Orb::Log::Printf("QADThread_WriteDatabaseLocal> gQadAssetIndex.WriteDatabase(\"%s\" failed\n", temp_path.c_str());
    if (IsDiskSpaceLow(FreeDiskSpace(Orb::Path::AddPath(Root(), "cache")))) PostLowDiskNotification();
  } else {
    TestHookPoint("index-temp-written");
    if (Orb::File::Exists(root_path) && !Orb::File::Unlink(root_path))
      Orb::Log::Printf("QADThread_WriteDatabaseLocal> Unlink(\"%s\") failed\n", root_path.c_str());
    TestHookPoint("index-root-deleted");
    if (!Orb::File::Rename(temp_path, root_path)) {
      Orb::Log::Printf("QADThread_WriteDatabaseLocal> Rename(\"%s\", \"%s\") failed\n", temp_path.c_str(),
                       root_path.c_str());
    } else {
      ok = true;
    }
  }
  if (ok) {
    TestHookPoint("index-renamed");
    if (IsIPCControllerOpen()) IPCIncrementChangeCounter();
    write_in_progress_ = false;
    if (hand_over) ReleaseOwnership();
    return true;
  }
  write_in_progress_ = false;
  index_.MarkChanged(kChangeRecords);  // runs the first-change step when it was clean
  return false;
}

void IndexStore::WriteBackIfDirty() {
  if (index_.IsDirty()) WriteDatabaseLocal();
}

IndexStore& TheIndexStore() {
  static IndexStore store(TheAssetIndex());
  return store;
}

}  // namespace QETLib
