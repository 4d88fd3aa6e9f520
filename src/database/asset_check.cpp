#include "database/asset_check.h"

#include "search/validate_asset.h"

namespace QETLib {

bool RecheckAsset(AssetRecord& record, const std::string& folder) {
  ValidationReport report;
  bool ok = ValidateAsset(folder, nullptr, nullptr, &report);
  bool faulty = !ok || report.errors > 0;
  record.check_flags = static_cast<uint8_t>(record.check_flags & ~(kCheckFaulty | kCheckWarnings));
  if (faulty) record.check_flags |= kCheckFaulty;
  if (report.warnings > 0) record.check_flags |= kCheckWarnings;
  return !faulty;
}

}  // namespace QETLib
