// Content packages (.cdp): the root layout (kind, version, the three KUID tables, assets),
// reading with its checks, adding an asset entry with the tables rebuilt, and writing.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "content/kuid.h"
#include "content/tag_container.h"

namespace QETLib {

// Loads `folder` + `file` (the extension picks the form) and checks it is an archive of this
// version whose contents table matches its assets. Returns "" on success; on failure the
// package is emptied and the message says why.
std::string ReadPackage(TagContainer& package, std::string_view folder, std::string_view file);

// Puts `entry` into "assets" under its KUID's text form and rebuilds "contents-table",
// "kuid-table", "obsolete-table", "kind" and "package-version". Returns "" or the reason
// the entry was refused (null KUID, KUID already present).
std::string AddAssetToPackage(TagContainer& package, const TagContainer& entry);

// Saves the package; "" or "Unable to write archive file. Needs to be .cdp file extension".
std::string WritePackage(const TagContainer& package, std::string_view file);

// An asset entry: a copy of the asset's configuration tags, then "files", "compression"
// ("LZSS" or "") and "dsid" (the checksum of the files).
TagContainer MakePackageEntry(const TagContainer& config, const TagContainer& files, bool compressed);

// The KUIDs one entry depends on, in the order first met, without its own KUID and the
// KUIDs it declares obsolete.
std::vector<KUID> EntryDependencies(const TagContainer& entry);

}  // namespace QETLib
