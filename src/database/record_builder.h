// Filling an asset record, and its entry of the dependency table, from the asset's
// configuration (config.txt or config.chump as a tag container).
#pragma once
#include <cstdint>

#include "content/tag_container.h"
#include "database/asset_record.h"
#include "database/index_extras.h"

namespace QETLib {

// Sets the record's identity, texts, flags, build numbers and times from `config`; the
// locations are left to the caller. False (record untouched) when the configuration has no
// usable KUID. `builtin` assets take their edit and commit rights from `privileges`; all
// others have both. `now` becomes both times.
bool FillRecordFromConfig(const TagContainer& config, bool builtin, int64_t now, AssetRecord& record);

// What the configuration depends on and what it makes obsolete.
DependencyEntry ConfigDependencies(const TagContainer& config);

}  // namespace QETLib
