// Re-checking an asset's committed files: validation decides the record's faulty and
// warnings bits.
#pragma once
#include <string>

#include "database/asset_record.h"

namespace QETLib {

// Validates `folder` and sets check flags bit 3 (faulty) exactly when validation fails and
// bit 4 (warnings) exactly when it logged a warning. Returns true when it passed.
bool RecheckAsset(AssetRecord& record, const std::string& folder);

}  // namespace QETLib
