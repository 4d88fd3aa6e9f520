// The asset index: one record per KUID kept in index order (user, content, version), a
// hash lookup by KUID, the index-wide extras, and the dirty state with its change flags.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "database/asset_record.h"
#include "database/index_extras.h"
#include "database/kuid_table.h"

namespace QETLib {

// Change flags, handed to the database's change callback when a write lock ends.
constexpr uint32_t kChangeRecords = 0x01;
constexpr uint32_t kChangeDependencyState = 0x02;
constexpr uint32_t kChangeValidationLevel = 0x10;

class AssetIndex {
 public:
  AssetIndex() = default;
  AssetIndex(const AssetIndex&) = delete;
  AssetIndex& operator=(const AssetIndex&) = delete;

  // Records. Get gives null when the KUID is unknown. A record from GetMutable may be changed
  // in place (not its KUID); the caller marks the index changed.
  const AssetRecord* Get(const KUID& kuid) const { return table_.Find(kuid); }
  AssetRecord* GetMutable(const KUID& kuid) { return table_.Find(kuid); }
  // Adds the record or replaces the one with the same KUID; marks the index changed.
  AssetRecord& Put(AssetRecord record);
  // Removes the record; marks the index changed. False when it was unknown.
  bool Remove(const KUID& kuid);
  size_t Size() const { return records_.size(); }
  // The records in index order.
  void ForEach(const std::function<void(const AssetRecord&)>& visit) const;
  void ForEachMutable(const std::function<void(AssetRecord&)>& visit);
  const AssetRecord& At(size_t position) const;

  // Bulk filling (the file reader, folder scans): records are appended without keeping the
  // order or marking anything; Finish sorts them, drops duplicates (the last one wins) and
  // rebuilds the lookup.
  void ReserveRecords(size_t count);
  AssetRecord& AppendUnsorted(std::unique_ptr<AssetRecord> record);
  void FinishAppending();

  IndexExtras& Extras() { return extras_; }
  const IndexExtras& Extras() const { return extras_; }

  // Empties records and extras; the dirty state is left alone.
  void Clear();

  // Dirty state. MarkChanged sets the dirty bit (running the first-change handler when it
  // goes from clear to set) and raises `flags`.
  bool IsDirty() const { return dirty_; }
  void MarkChanged(uint32_t flags = kChangeRecords);
  void RaiseChangeFlags(uint32_t flags) { pending_flags_ |= flags; }
  uint32_t PendingChangeFlags() const { return pending_flags_; }
  uint32_t TakeChangeFlags();
  void ClearDirty() { dirty_ = false; }
  void SetFirstChangeHandler(std::function<void()> handler) { first_change_ = std::move(handler); }

  // Raises the validation level to at least `level`, marking the change (flag 0x10).
  void RaiseValidationLevel(int32_t level);
  int32_t ValidationLevel() const { return extras_.validation_level; }

  // The load stamp records are compared with.
  int32_t CurrentStamp() const { return current_stamp_; }
  void NewStamp() { ++current_stamp_; }

  // Forgets the cached archived results (after the archive lists changed).
  void InvalidateArchivedResults();

  // Forgets every cached dependency state: a change to one asset can change the answer of
  // every asset that depends on it. The records' bits are cleared once, the next time a
  // state is asked for or the index is written, so a run of commits costs one pass.
  void InvalidateDependencyStates() { dependency_states_stale_ = true; }
  void SettleDependencyStates();

 private:
  void EnsureOrder() const;

  mutable std::vector<std::unique_ptr<AssetRecord>> records_;
  mutable bool sorted_ = true;
  KUIDTable table_;
  IndexExtras extras_;
  bool dirty_ = false;
  uint32_t pending_flags_ = 0;
  int32_t current_stamp_ = 1;
  std::function<void()> first_change_;
  bool dependency_states_stale_ = false;
};

// The process's asset index.
AssetIndex& TheAssetIndex();

}  // namespace QETLib
