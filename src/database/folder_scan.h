// Finding asset folders (folders that hold a configuration) below the installation's content
// folders and bringing them into the index: the rebuild from nothing, the rescan of
// `editing` after a recovery load, and the add phase of a repair.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "content/tag_container.h"
#include "database/asset_index.h"

namespace QETLib {

enum class AssetLocation { kBuiltin, kLocal, kEditing };

struct ScanFolder {
  std::string folder;  // relative to the root: "base", "builtin/1", ..., "local", "editing"
  AssetLocation location;
};

// The folders a rebuild scans, in order: built-in content, then local, then editing.
const std::vector<ScanFolder>& RebuildScanFolders();

// Visits every asset folder below ROOT/folder, giving its path relative to the root
// ("local/abc"). A folder holding config.chump or config.txt (letter case ignored) is an asset
// folder and is not searched further; symbolic links are not followed. Stops early when
// `visit` returns false.
void ForEachAssetFolder(const std::string& root, const std::string& folder,
                        const std::function<bool(const std::string& relative)>& visit);

// True when the folder holds config.chump or config.txt (letter case ignored).
bool HoldsAssetConfig(const std::string& folder);

// Loads an asset folder's configuration: config.chump when present, else config.txt.
bool LoadAssetConfig(const std::string& asset_folder, TagContainer& config);

// Brings every asset folder below one scan folder into the index: a KUID the index does not
// know gets a new record (and its dependency entry); a known one gets this location attached.
// Returns the number of folders taken; folders without a usable configuration are skipped.
int ScanFolderIntoIndex(AssetIndex& index, const std::string& root, const ScanFolder& where, int64_t now);

// Empties the index and scans every rebuild folder, raising the validation level to 100 and
// marking the index changed (flag 1).
void RebuildIndexByScan(AssetIndex& index, const std::string& root);

// Signature of a folder tree (never 0; 1 when it cannot be listed). Each file enters with
// its modification time and size, so any change to a file changes the signature.
int32_t FolderSignature(const std::string& path);

}  // namespace QETLib
