#include "database/repair_database.h"

#include <atomic>
#include <thread>
#include <vector>

#include "database/asset_check.h"
#include "database/asset_folders.h"
#include "database/asset_index.h"
#include "database/asset_info.h"
#include "database/database.h"
#include "database/database_lock.h"
#include "database/folder_scan.h"
#include "database/record_builder.h"
#include "database/record_refresh.h"
#include "database/repair_leftovers.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "engine/time.h"

namespace QETLib {

namespace {

std::atomic<bool> g_repair_running{false};

class RunningMark {
 public:
  RunningMark() : taken_(!g_repair_running.exchange(true)) {}
  ~RunningMark() {
    if (taken_) g_repair_running = false;
  }
  bool Taken() const { return taken_; }

 private:
  bool taken_;
};

std::vector<KUID> AllKUIDs() {
  std::vector<KUID> kuids;
  DatabaseLock lock(false);
  TheAssetIndex().ForEach([&](const AssetRecord& r) { kuids.push_back(r.kuid); });
  return kuids;
}

bool HoldsAnyFile(const std::string& folder) {
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(folder, entries)) return false;
  for (const Orb::FindEntry& e : entries) {
    if (!e.is_folder || e.is_link) return true;
    if (HoldsAnyFile(e.path)) return true;
  }
  return false;
}

class Repair {
 public:
  Repair(QADTask& task, int level) : task_(task), level_(level), root_(DatabaseRootFolder()) {}

  void Run() {
    task_.SetTitle("$qadtask_repair_title");
    task_.Report(Info, "$qad_log_repair_start");
    Erase();
    if (!Deletes() || !Adds() || !Changes()) return;
    if (level_ >= 150 && (!Obsoletes() || !DependencyLists())) return;
    if (level_ >= 100 && !DependencyStates()) return;
    task_.Report(Info, "$qad_log_repair_end",
                 {{"warn_count", std::to_string(task_.Warnings())}, {"error_count", std::to_string(task_.Errors())}});
  }

 private:
  // Phase 1: derived data goes; a new load stamp starts.
  void Erase() {
    task_.SetPhase("$qadtask_repair_erasing");
    DatabaseLock lock(true);
    AssetIndex& index = TheAssetIndex();
    index.ForEachMutable([](AssetRecord& r) {
      r.check_flags &= static_cast<uint8_t>(~(kCheckMissingDepValid | kCheckFaultyDepValid));
    });
    if (!index.Extras().blocks[4].empty()) {
      index.Extras().blocks[4].clear();
      index.MarkChanged();
    }
    index.NewStamp();
    task_.SetProgress(0.1);
  }

  // Phase 2: locations whose folders are gone are cleared.
  bool Deletes() {
    task_.SetPhase("$qadtask_repair_deletes");
    std::vector<KUID> kuids = AllKUIDs();
    for (size_t i = 0; i < kuids.size(); ++i) {
      if (task_.Cancelled()) return false;
      DatabaseLock lock(true);
      AssetRecord* r = TheAssetIndex().GetMutable(kuids[i]);
      if (r) DropVanishedLocations(*r);
      task_.SetProgress(0.1 + 0.25 * double(i + 1) / double(kuids.size()));
    }
    return true;
  }

  void DropVanishedLocations(AssetRecord& r) {
    bool changed = false;
    if (!r.ResourcePath().empty()) {
      std::string folder = r.resource_database.View() == "local"
                               ? Orb::Path::AddPath(Orb::Path::AddPath(root_, "local"), r.ResourcePath())
                               : Orb::Path::AddPath(root_, r.ResourcePath());
      if (!HoldsAssetConfig(folder)) {
        r.SetText(AssetRecord::kResourcePath, "");
        r.resource_database = Orb::PString();
        changed = true;
      }
    }
    if (!r.LocalPath().empty()) {
      std::string folder = Orb::Path::AddPath(root_, r.LocalPath());
      if (Orb::FindNameIgnoreCase(folder, "config.chump").empty()) {
        r.SetText(AssetRecord::kLocalPath, "");
        changed = true;
      }
    }
    if (!r.EditingPath().empty()) {
      std::string folder = Orb::Path::AddPath(root_, r.EditingPath());
      if (!Orb::File::IsFolder(folder) || !HoldsAnyFile(folder)) {
        r.SetText(AssetRecord::kEditingPath, "");
        changed = true;
      }
    }
    if (changed) TheAssetIndex().MarkChanged();
  }

  // Phase 3: asset folders the index does not know are added; leftovers of interrupted
  // publishes are cleared from level 100 on.
  bool Adds() {
    task_.SetPhase("$qadtask_repair_adds");
    if (task_.Cancelled()) return false;
    {
      DatabaseLock lock(true);
      int64_t now = Orb::Time::NowUnixSeconds();
      for (const ScanFolder& where : RebuildScanFolders())
        ScanFolderIntoIndex(TheAssetIndex(), root_, where, now);
    }
    if (level_ >= 100) {
      DatabaseLock lock(true);
      for (const std::string& leftover : RemoveLeftoverTempFolders(root_))
        task_.Report(Info, "$qadtask_repair_leftover", {{"file_path", leftover}});
    }
    task_.SetProgress(0.5);
    return true;
  }

  // Phase 4: assets whose folders changed are read again. Signatures are computed on both
  // cores outside the lock; records are updated one at a time under it.
  bool Changes() {
    task_.SetPhase("$qadtask_repair_changes");
    struct Item {
      KUID kuid;
      std::string folder;
      int32_t stored = 0;
      int32_t signature = 0;
    };
    std::vector<Item> items;
    {
      DatabaseLock lock(false);
      TheAssetIndex().ForEach([&](const AssetRecord& r) {
        if (!r.IsPresent()) return;
        std::string folder = CommittedFolder(r, root_);
        if (!folder.empty()) items.push_back({r.kuid, folder, r.folder_signature, 0});
      });
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
      for (size_t i; (i = next++) < items.size();) items[i].signature = FolderSignature(items[i].folder);
    };
    std::thread helper(work);
    work();
    helper.join();

    int changed = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      if (task_.Cancelled()) return false;
      const Item& item = items[i];
      if (item.signature != 0 && item.signature == item.stored) continue;
      if (Reread(item.kuid, item.folder, item.signature)) ++changed;
      task_.SetProgress(0.5 + 0.35 * double(i + 1) / double(items.size()));
    }
    task_.SetProgress(0.85);
    task_.Report(Info, "$qadtask_repair_patch_summary", {{"count", std::to_string(changed)}});
    return true;
  }

  bool Reread(const KUID& kuid, const std::string& folder, int32_t signature) {
    DatabaseLock lock(true);
    AssetIndex& index = TheAssetIndex();
    AssetRecord* r = index.GetMutable(kuid);
    if (!r) return false;
    r->folder_signature = signature;
    r->build = -1;
    index.MarkChanged();
    std::string id = ToBracketString(kuid);
    if (!RefreshRecordFromFolder(index, *r, folder)) {
      task_.Report(Error, "$qadtask_repair_damaged", {{"asset_kuid", id}, {"asset_id", id}}, kuid);
      return false;
    }
    RecheckAsset(*r, folder);
    task_.Report(Info, "$qadtask_repair_changed", {{"asset_kuid", id}, {"asset_id", id}}, kuid);
    return true;
  }

  // Phases 5 and 6: obsolescence and dependency lists derived again from each configuration.
  bool Obsoletes() { return Rederive("$qadtask_repair_obsolete", 0.85, 0.1, true); }
  bool DependencyLists() { return Rederive("$qadtask_repair_depend", 0.95, 0.05, false); }

  bool Rederive(std::string_view phase, double start, double span, bool obsoletes) {
    task_.SetPhase(phase);
    std::vector<KUID> kuids = AllKUIDs();
    for (size_t i = 0; i < kuids.size(); ++i) {
      if (task_.Cancelled()) return false;
      DatabaseLock lock(true);
      AssetIndex& index = TheAssetIndex();
      AssetRecord* r = index.GetMutable(kuids[i]);
      TagContainer config;
      if (r && LoadAssetConfig(CommittedFolder(*r, root_), config)) {
        DependencyEntry derived = ConfigDependencies(config);
        DependencyEntry& entry = index.Extras().dependencies[r->kuid];
        if (obsoletes) {
          if (entry.obsoletes != derived.obsoletes) index.MarkChanged();
          entry.obsoletes = derived.obsoletes;
          for (const KUID& old : entry.obsoletes)
            if (AssetRecord* o = index.GetMutable(old)) o->check_flags |= kCheckObsolete;
        } else {
          if (entry.dependencies != derived.dependencies) index.MarkChanged();
          entry.dependencies = derived.dependencies;
        }
      }
      task_.SetProgress(start + span * double(i + 1) / double(kuids.size()));
    }
    return true;
  }

  // Phase 7: the cached missing and faulty dependency states computed afresh.
  bool DependencyStates() {
    task_.SetPhase("$qadtask_repair_depend");
    std::vector<KUID> kuids = AllKUIDs();
    for (const KUID& kuid : kuids) {
      if (task_.Cancelled()) return false;
      DatabaseLock lock(true);
      AssetIndex& index = TheAssetIndex();
      if (AssetRecord* r = index.GetMutable(kuid)) {
        HasMissingDependencies(index, *r);
        HasFaultyDependencies(index, *r);
      }
    }
    task_.SetProgress(1.0);
    return true;
  }

  QADTask& task_;
  int level_;
  std::string root_;
};

}  // namespace

int QADTaskRepairDatabase(QADTask& task, int level) {
  RunningMark mark;
  if (!mark.Taken()) {
    task.Report(Error, "$qadtask_repair_err_duplicate");
    return -1;
  }
  Repair(task, level).Run();
  return task.Errors() == 0 ? 0 : -1;
}

}  // namespace QETLib
