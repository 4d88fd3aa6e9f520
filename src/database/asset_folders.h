// Where an asset's folders are on disk: the committed copy (local folder, else its place
// in a resource database) and the editing copy.
#pragma once
#include <string>

#include "database/asset_record.h"

namespace QETLib {

// The committed folder: ROOT/<local path>; else the resource location — ROOT/local/<path>
// for the "local" resource database form, ROOT/<path> for built-in content (whose resource
// paths are kept relative to the root). "" when the asset has neither.
std::string CommittedFolder(const AssetRecord& record, const std::string& root);
// ROOT/<editing path>, or "" when the asset is not open for edit.
std::string EditingFolder(const AssetRecord& record, const std::string& root);

}  // namespace QETLib
