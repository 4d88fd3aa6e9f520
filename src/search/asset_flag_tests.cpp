#include "search/asset_flag_tests.h"

namespace QETLib {

namespace {

constexpr std::string_view kNames[kFlagTestCount] = {
    "local",           "download-station",         "location-unknown",        "locally-available",
    "up-to-date",      "obsolete",                 "locally-modified",        "valid-name",
    "open-for-edit",   "in-archive",               "locally-enabled",         "has-missing-dependencies",
    "has-faulty-dependencies", "faulty",           "from-paintshed",          "builtin",
    "listing-privilege", "favorite",               "warnings",
};

bool Bit(uint8_t flags, int bit) { return (flags >> bit) & 1; }

}  // namespace

std::string_view FlagTestName(int number) {
  if (number < 0 || number >= kFlagTestCount) return "unknown";
  return kNames[number];
}

bool TestFlag(int number, const AssetView& asset) {
  switch (number) {
    case kFlagLocal: return asset.IsPresent();
    case kFlagDownloadStation: return Bit(asset.StateFlags(), 6) && !asset.IsPresent();
    case kFlagLocationUnknown: return !asset.IsPresent() && !Bit(asset.StateFlags(), 6);
    case kFlagLocallyAvailable: return asset.IsLocallyAvailable();
    case kFlagUpToDate: return asset.IsUpToDate();
    case kFlagObsolete: return asset.IsObsolete();
    case kFlagLocallyModified: return !asset.LocalPath().empty();
    case kFlagValidName: return !asset.DisplayName().empty();
    case kFlagOpenForEdit: return !asset.EditingPath().empty();
    case kFlagInArchive: return asset.IsArchived();
    case kFlagLocallyEnabled: return Bit(asset.StateFlags(), 1);
    case kFlagHasMissingDependencies: return asset.HasMissingDependencies();
    case kFlagHasFaultyDependencies: return asset.HasFaultyDependencies();
    case kFlagFaulty: return Bit(asset.CheckFlags(), 3) && asset.IsLocallyAvailable();
    case kFlagFromPaintshed: return Bit(asset.StateFlags(), 3);
    case kFlagBuiltin: return Bit(asset.CheckFlags(), 0);
    case kFlagListingPrivilege: return Bit(asset.PermissionFlags(), 4);
    case kFlagFavorite: return Bit(asset.StateFlags(), 0);
    case kFlagWarnings: return Bit(asset.CheckFlags(), 4) && asset.IsLocallyAvailable();
    default: return false;
  }
}

}  // namespace QETLib
