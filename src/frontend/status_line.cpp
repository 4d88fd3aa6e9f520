// Building the status line from an asset's info record.
#include "frontend/status_line.h"

namespace QETLib {

std::string StatusLine(const AssetInfo& info) {
  bool missing = HasMissingDependencies(info.kuid);
  bool faulty = IsAssetFaulty(info.kuid);
  std::string line = "+ ";
  AppendBracketString(info.kuid, line);
  line += " : ";
  line += StatusLetters(info, missing, faulty);
  line += " : ";
  line += info.category_class;
  line += " : ";
  line += info.DisplayName();
  line += "\n";
  return line;
}

}  // namespace QETLib
