// Export: an installed asset's committed copy as a package entry for the CDP writer.
#pragma once
#include "content/tag_container.h"
#include "frontend/results_log.h"

namespace QETLib {

constexpr int kExportUncompressed = 1;    // store the files as they are instead of LZSS
constexpr int kExportDropTextures = 2;    // leave out compiled .texture files whose .texture.txt is there

// Fills `entry` and returns true, or reports why not and returns false.
bool ExportAsset(const KUID& kuid, ResultsLog* log, int flags, TagContainer& entry);

}  // namespace QETLib
