// Hands the package layer's message tags to a results log: PackFolder and CheckFolder live
// in the content layer, below the results log, and report through this callback.
#pragma once
#include <optional>

#include "content/package_folder.h"
#include "frontend/results_log.h"

namespace QETLib {

inline PackageLog PackageLogInto(ResultsLog& log) {
  return [&log](int level, std::string_view tag, const PackageParams& params) {
    log.AddTagged(level, std::nullopt, tag, params);
  };
}

}  // namespace QETLib
