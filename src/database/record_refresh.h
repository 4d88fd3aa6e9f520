// Refreshing an asset record from the configuration in its folder on disk, keeping what
// the disk does not decide (locations, times, cached states).
#pragma once
#include <string>

#include "database/asset_index.h"

namespace QETLib {

// Loads the configuration in `folder` and refills `record` from it; the record's locations,
// times and signature stay, the dependency entry is replaced. False when the folder holds no
// readable configuration naming this record's KUID (the record is then untouched).
bool RefreshRecordFromFolder(AssetIndex& index, AssetRecord& record, const std::string& folder);

}  // namespace QETLib
