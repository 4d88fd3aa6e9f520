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

CriteriaMatcher::CriteriaMatcher(const SearchCriteria& criteria) : criteria_(criteria) {
  for (int i = 0; i < kCriteriaTestCount; ++i)
    if (criteria.tests[i] == kMustHold || criteria.tests[i] == kMustNotHold)
      flag_tests_.emplace_back(kFlagOfTest[i], criteria.tests[i]);
  if (!criteria.category.empty()) category_.emplace(criteria.category);
  if (!criteria.era.empty()) era_.emplace(criteria.era);
  const std::string region = ResolveRegionExpression(criteria.region);
  if (!region.empty()) region_.emplace(region);
  if (!criteria.keywords.empty() && criteria.keyword_mode == SearchCriteria::kCategoryForm)
    keyword_codes_.emplace(criteria.keywords);
  const SearchCriteria defaults;
  ranges_ = criteria.time1.min != defaults.time1.min || criteria.time1.max != defaults.time1.max ||
            criteria.time2.min != defaults.time2.min || criteria.time2.max != defaults.time2.max ||
            criteria.small_value.min > 0 || criteria.small_value.max < 255 ||
            criteria.build.min != defaults.build.min || criteria.build.max != defaults.build.max;
}

bool CriteriaMatcher::Matches(const AssetView& asset) const {
  const SearchCriteria& c = criteria_;
  if (!TriStateHolds(c.presence, asset.IsPresent())) return false;
  for (const auto& [flag, setting] : flag_tests_)
    if (!TriStateHolds(setting, TestFlag(flag, asset))) return false;
  if (category_ && !category_->Matches(asset.CategoryClass())) return false;
  if (ranges_) {
    if (!c.time1.Contains(asset.Time1()) || !c.time2.Contains(asset.Time2())) return false;
    if (!c.small_value.Contains(asset.SmallValue()) || !c.build.Contains(asset.Build())) return false;
  }
  if (era_ && !era_->Matches(asset.CategoryEras())) return false;
  if (region_ && !region_->Matches(asset.CategoryRegions())) return false;
  if (c.required_kuid && asset.Kuid() != *c.required_kuid) return false;
  if (!c.name.empty() && !NameMatches(asset.DisplayName(), c.name, c.name_mode == SearchCriteria::kExact))
    return false;
  if (!c.keywords.empty()) {
    const bool holds = keyword_codes_ ? keyword_codes_->Matches(asset.KeywordText())
                                      : MatchesKeywords(asset.KeywordText(), c.keywords);
    if (!holds) return false;
  }
  if ((c.threshold_test == kMustHold || c.threshold_test == kMustNotHold) &&
      !TriStateHolds(c.threshold_test, asset.QuorixBuild() >= c.threshold))
    return false;
  return true;
}

void SearchAssets(const SearchCriteria& criteria, const AssetSource& index, std::vector<KUID>& result) {
  const CriteriaMatcher matcher(criteria);
  index.ForEachAsset([&](const AssetView& asset) {
    if (matcher.Matches(asset)) result.push_back(asset.Kuid());
  });
}

}  // namespace QETLib
