// The one-line status of an asset that the "status" and "dlsparse" commands print:
// KUID, the seven status letters, category class and display name.
#pragma once
#include <string>

#include "database/asset_info.h"

namespace QETLib {

// "+ <kuid> : EIADLMF : <class> : <name>\n"; the M and F letters are asked of the index.
std::string StatusLine(const AssetInfo& info);

}  // namespace QETLib
