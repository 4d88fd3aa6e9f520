// The assets a configuration depends on (every KUID it refers to, except its own and those
// it declares obsolete) and the assets it makes obsolete.
#pragma once
#include <vector>

#include "content/kuid.h"
#include "content/tag_container.h"

namespace QETLib {

// In first-seen order, each once, null KUIDs left out. The top-level "kuid" tag is the asset
// itself and "obsolete-table" lists what it replaces; neither counts as a dependency.
std::vector<KUID> ListDependencies(const TagContainer& config);
// The KUIDs of the "obsolete-table" container, in order, each once.
std::vector<KUID> ListObsoletes(const TagContainer& config);

}  // namespace QETLib
