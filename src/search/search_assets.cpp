#include "search/search_assets.h"

#include "search/asset_flag_tests.h"
#include "search/category_expression.h"
#include "search/country_table.h"

namespace QETLib {

namespace {

constexpr int kFlagOfTest[kCriteriaTestCount] = {
    kFlagDownloadStation, kFlagLocallyAvailable,       kFlagUpToDate,
    kFlagObsolete,        kFlagLocallyModified,        kFlagValidName,
    kFlagOpenForEdit,     kFlagInArchive,              kFlagLocallyEnabled,
    kFlagHasMissingDependencies, kFlagHasFaultyDependencies, kFlagFaulty,
    kFlagFromPaintshed,   kFlagBuiltin,                kFlagListingPrivilege,
};

// A tri-state of 0 or 1 against the actual value; any other setting is not tested.
bool TriStateHolds(int setting, bool value) {
  if (setting == kMustHold) return value;
  if (setting == kMustNotHold) return !value;
  return true;
}

}  // namespace

int FlagTestOf(CriteriaTest test) { return kFlagOfTest[test]; }

std::string ResolveRegionExpression(const std::string& region) {
  if (region.empty()) return region;
  if (region.size() >= 2 && IsCountryCode(std::string_view(region).substr(0, 2))) return region;
  std::string_view code = CountryCodeForName(region);
  // An unknown name stays as it was, so it matches only a region list that holds it
  // literally instead of disabling the region test.
  return code.empty() ? region : std::string(code);
}

bool MatchesCriteria(const SearchCriteria& criteria, const std::string& region_expression,
                     const AssetView& asset) {
  if (!TriStateHolds(criteria.presence, asset.IsPresent())) return false;
  for (int i = 0; i < kCriteriaTestCount; ++i) {
    const int setting = criteria.tests[i];
    if (setting != kMustHold && setting != kMustNotHold) continue;
    if (!TriStateHolds(setting, TestFlag(kFlagOfTest[i], asset))) return false;
  }
  if (!criteria.category.empty() && !MatchesCategory(criteria.category, asset.CategoryClass())) return false;
  if (!criteria.time1.Contains(asset.Time1()) || !criteria.time2.Contains(asset.Time2())) return false;
  if (!criteria.small_value.Contains(asset.SmallValue()) || !criteria.build.Contains(asset.Build())) return false;
  if (!criteria.era.empty() && !MatchesCategory(criteria.era, asset.CategoryEras())) return false;
  if (!region_expression.empty() && !MatchesCategory(region_expression, asset.CategoryRegions())) return false;
  if (criteria.required_kuid && asset.Kuid() != *criteria.required_kuid) return false;
  if (!criteria.name.empty() &&
      !NameMatches(asset.DisplayName(), criteria.name, criteria.name_mode == SearchCriteria::kExact))
    return false;
  if (!criteria.keywords.empty()) {
    const bool holds = criteria.keyword_mode == SearchCriteria::kCategoryForm
                           ? MatchesCategory(criteria.keywords, asset.KeywordText())
                           : MatchesKeywords(asset.KeywordText(), criteria.keywords);
    if (!holds) return false;
  }
  if (!TriStateHolds(criteria.threshold_test, asset.QuorixBuild() >= criteria.threshold)) return false;
  return true;
}

void SearchAssets(const SearchCriteria& criteria, const AssetSource& index, std::vector<KUID>& result) {
  const std::string region = ResolveRegionExpression(criteria.region);
  index.ForEachAsset([&](const AssetView& asset) {
    if (MatchesCriteria(criteria, region, asset)) result.push_back(asset.Kuid());
  });
}

}  // namespace QETLib
