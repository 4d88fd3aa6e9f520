// The numbered yes/no tests of an asset record that filters and searches select by number,
// each with the name a filter element shows for it.
#pragma once
#include <string_view>

#include "search/asset_view.h"

namespace QETLib {

enum AssetFlagTest {
  kFlagLocal = 0,
  kFlagDownloadStation = 1,
  kFlagLocationUnknown = 2,
  kFlagLocallyAvailable = 3,
  kFlagUpToDate = 4,
  kFlagObsolete = 5,
  kFlagLocallyModified = 6,
  kFlagValidName = 7,
  kFlagOpenForEdit = 8,
  kFlagInArchive = 9,
  kFlagLocallyEnabled = 10,
  kFlagHasMissingDependencies = 11,
  kFlagHasFaultyDependencies = 12,
  kFlagFaulty = 13,
  kFlagFromPaintshed = 14,
  kFlagBuiltin = 15,
  kFlagListingPrivilege = 16,
  kFlagFavorite = 17,
  kFlagWarnings = 18,
  kFlagTestCount = 19,
};

// "local", "download-station", ... ; "unknown" for a number outside the table.
std::string_view FlagTestName(int number);
// The test's result for the asset; a number outside the table never holds.
bool TestFlag(int number, const AssetView& asset);

}  // namespace QETLib
