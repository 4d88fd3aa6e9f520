// Answers about one asset for the commands: the info record (the flattened view the status
// line is built from) and the derived tests archived, missing dependency and faulty
// dependency, cached in the record's flag bits.
#pragma once
#include <cstdint>
#include <string>

#include "content/kuid.h"
#include "database/asset_index.h"

namespace QETLib {

// Bits of AssetInfo::flags.
constexpr uint32_t kInfoLocal = 1u << 2;
constexpr uint32_t kInfoPresent = 1u << 3;
constexpr uint32_t kInfoDownloadStation = 1u << 6;
constexpr uint32_t kInfoArchived = 1u << 7;
constexpr uint32_t kInfoOpenForEdit = 1u << 8;

// Parts of the info record a caller wants.
constexpr uint32_t kInfoPartFlags = 1;
constexpr uint32_t kInfoPartNames = 2;
constexpr uint32_t kInfoPartCategories = 4;
constexpr uint32_t kInfoPartTimes = 8;
constexpr uint32_t kInfoPartAll = 0xF;

struct AssetInfo {
  KUID kuid;
  uint32_t flags = 0;
  uint8_t state_bits = 0;  // state flags bits 0-3
  uint8_t check_flags = 0;
  uint8_t permission_flags = 0;
  std::string name;
  std::string localised_name;
  std::string category_class;
  std::string category_regions;
  std::string category_eras;
  std::string keyword_text;
  int32_t build = 0;
  float quorix_build = 0.0f;
  int64_t time1 = 0;
  int64_t time2 = 0;

  std::string_view DisplayName() const { return localised_name.empty() ? name : localised_name; }
};

// The asset's info record, under a read DatabaseLock on the process's index. False when
// the index does not hold the KUID.
bool GetAssetInfo(const KUID& kuid, uint32_t parts, AssetInfo& info);
// The same on a given index, without locking (the caller holds the lock).
bool GetAssetInfo(AssetIndex& index, const KUID& kuid, uint32_t parts, AssetInfo& info);

// Listed in one of the index's archive lists (cached in state flags bits 4/5).
bool IsArchived(AssetIndex& index, AssetRecord& record);
// A dependency is unknown, not present, or itself has a missing dependency (cached in
// check flags bits 1/2; computing marks the index changed with flag 2). Cycles end.
bool HasMissingDependencies(AssetIndex& index, AssetRecord& record);
// The same with the faulty test in place of presence (check flags bits 5/6).
bool HasFaultyDependencies(AssetIndex& index, AssetRecord& record);
// Missing / faulty dependency by KUID under a read DatabaseLock; false for an unknown KUID.
bool HasMissingDependencies(const KUID& kuid);
bool HasFaultyDependencies(const KUID& kuid);
// Check flags bit 3 with a committed location, under a read DatabaseLock.
bool IsAssetFaulty(const KUID& kuid);

// The seven status letters, upper case when the condition holds: E I A D L M F.
std::string StatusLetters(const AssetInfo& info, bool missing_dependency, bool faulty);

}  // namespace QETLib
