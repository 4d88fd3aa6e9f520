// The info record and the cached derived tests of an asset.
#include "database/asset_info.h"

#include <mutex>
#include <vector>

#include "database/database_lock.h"

namespace QETLib {

namespace {

// The cached bits are written under a read lock by whichever thread computes them.
std::mutex g_cache_mutex;

// Depth-first over the dependency table without recursion (chains can be long). A record's
// valid bit is set before its dependencies are visited, so a cycle ends.
bool DependencyState(AssetIndex& index, AssetRecord& start, bool faulty_mode) {
  const uint8_t valid = faulty_mode ? kCheckFaultyDepValid : kCheckMissingDepValid;
  const uint8_t bad = faulty_mode ? kCheckFaultyDep : kCheckMissingDep;
  std::lock_guard<std::mutex> guard(g_cache_mutex);
  index.SettleDependencyStates();
  if (start.check_flags & valid) return (start.check_flags & bad) != 0;

  const auto& table = index.Extras().dependencies;
  static const std::vector<KUID> kNone;
  auto deps_of = [&](const AssetRecord& r) -> const std::vector<KUID>& {
    auto it = table.find(r.kuid);
    return it == table.end() ? kNone : it->second.dependencies;
  };
  struct Frame {
    AssetRecord* record;
    size_t next;
  };
  std::vector<Frame> stack;
  start.check_flags = static_cast<uint8_t>((start.check_flags | valid) & ~bad);
  stack.push_back({&start, 0});
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const std::vector<KUID>& deps = deps_of(*frame.record);
    if ((frame.record->check_flags & bad) || frame.next >= deps.size()) {
      bool result = (frame.record->check_flags & bad) != 0;
      stack.pop_back();
      if (result && !stack.empty()) stack.back().record->check_flags |= bad;
      continue;
    }
    AssetRecord* dep = index.GetMutable(deps[frame.next++]);
    if (!dep || (faulty_mode ? dep->IsFaulty() : !dep->IsPresent())) {
      frame.record->check_flags |= bad;
      continue;
    }
    if (dep->check_flags & valid) {
      if (dep->check_flags & bad) frame.record->check_flags |= bad;
      continue;
    }
    dep->check_flags = static_cast<uint8_t>((dep->check_flags | valid) & ~bad);
    stack.push_back({dep, 0});
  }
  index.MarkChanged(kChangeDependencyState);
  return (start.check_flags & bad) != 0;
}

}  // namespace

bool IsArchived(AssetIndex& index, AssetRecord& record) {
  std::lock_guard<std::mutex> guard(g_cache_mutex);
  if (record.state_flags & kStateArchivedValid) return (record.state_flags & kStateArchived) != 0;
  bool archived = false;
  for (const ArchiveList& list : index.Extras().archive_lists) {
    for (const KUID& kuid : list.kuids) archived = archived || kuid == record.kuid;
    if (archived) break;
  }
  record.state_flags = static_cast<uint8_t>((record.state_flags & ~kStateArchived) | kStateArchivedValid |
                                            (archived ? kStateArchived : 0));
  return archived;
}

bool HasMissingDependencies(AssetIndex& index, AssetRecord& record) { return DependencyState(index, record, false); }
bool HasFaultyDependencies(AssetIndex& index, AssetRecord& record) { return DependencyState(index, record, true); }

bool GetAssetInfo(AssetIndex& index, const KUID& kuid, uint32_t parts, AssetInfo& info) {
  AssetRecord* record = index.GetMutable(kuid);
  if (!record) return false;
  info = AssetInfo();
  info.kuid = record->kuid;
  if (parts & kInfoPartFlags) {
    uint32_t flags = 0;
    if (record->IsLocal()) flags |= kInfoLocal;
    if (record->IsPresent()) flags |= kInfoPresent;
    if (record->state_flags & kStateDownloadStation) flags |= kInfoDownloadStation;
    if (IsArchived(index, *record)) flags |= kInfoArchived;
    if (record->IsOpenForEdit()) flags |= kInfoOpenForEdit;
    info.flags = flags;
    info.state_bits = record->state_flags & kStateInfoBits;
    info.check_flags = record->check_flags;
    info.permission_flags = record->permission_flags;
    info.build = record->build;
    info.quorix_build = record->quorix_build;
  }
  if (parts & kInfoPartNames) {
    info.name = record->Name();
    info.localised_name = record->LocalisedName();
  }
  if (parts & kInfoPartCategories) {
    info.category_class = record->CategoryClass();
    info.category_regions = record->CategoryRegions();
    info.category_eras = record->CategoryEras();
    info.keyword_text = record->KeywordText();
  }
  if (parts & kInfoPartTimes) {
    info.time1 = record->time1;
    info.time2 = record->time2;
  }
  return true;
}

bool GetAssetInfo(const KUID& kuid, uint32_t parts, AssetInfo& info) {
  DatabaseLock lock(false);
  if (!lock.Ok()) return false;
  return GetAssetInfo(TheAssetIndex(), kuid, parts, info);
}

bool HasMissingDependencies(const KUID& kuid) {
  DatabaseLock lock(false);
  AssetRecord* record = lock.Ok() ? TheAssetIndex().GetMutable(kuid) : nullptr;
  return record && HasMissingDependencies(TheAssetIndex(), *record);
}

bool HasFaultyDependencies(const KUID& kuid) {
  DatabaseLock lock(false);
  AssetRecord* record = lock.Ok() ? TheAssetIndex().GetMutable(kuid) : nullptr;
  return record && HasFaultyDependencies(TheAssetIndex(), *record);
}

bool IsAssetFaulty(const KUID& kuid) {
  DatabaseLock lock(false);
  const AssetRecord* record = lock.Ok() ? TheAssetIndex().Get(kuid) : nullptr;
  return record && record->IsFaulty();
}

std::string StatusLetters(const AssetInfo& info, bool missing_dependency, bool faulty) {
  auto letter = [](char upper, bool set) { return set ? upper : static_cast<char>(upper - 'A' + 'a'); };
  std::string letters;
  letters += letter('E', info.flags & kInfoOpenForEdit);
  letters += letter('I', info.flags & kInfoPresent);
  letters += letter('A', info.flags & kInfoArchived);
  letters += letter('D', info.flags & kInfoDownloadStation);
  letters += letter('L', info.flags & kInfoLocal);
  letters += letter('M', missing_dependency);
  letters += letter('F', faulty);
  return letters;
}

}  // namespace QETLib
