// Search criteria over the asset index and the search itself: every test that is set must
// hold for a record to be listed. Defaults leave everything untested.
#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "search/asset_view.h"
#include "search/category_expression.h"

namespace QETLib {

// Tri-state tests: the condition must hold, must not hold, or is not tested.
enum TriState : int { kMustHold = 0, kMustNotHold = 1, kEither = 2 };

// The fifteen record tests beside presence, each bound to a flag test of asset_flag_tests.h.
enum CriteriaTest {
  kTestDownloadStation, kTestLocallyAvailable, kTestUpToDate, kTestObsolete, kTestLocallyModified,
  kTestValidName, kTestOpenForEdit, kTestInArchive, kTestLocallyEnabled, kTestMissingDependencies,
  kTestFaultyDependencies, kTestFaulty, kTestFromPaintshed, kTestBuiltin, kTestListingPrivilege,
  kCriteriaTestCount,
};

template <typename T>
struct ValueRange {
  T min = std::numeric_limits<T>::min();
  T max = std::numeric_limits<T>::max();
  bool Contains(T value) const { return value >= min && value <= max; }
};

struct SearchCriteria {
  int presence = kEither;
  std::array<int, kCriteriaTestCount> tests = MakeEither();
  ValueRange<int64_t> time1;
  ValueRange<int64_t> time2;
  ValueRange<int> small_value;
  ValueRange<int32_t> build;

  std::string name;      // empty: not tested
  std::string category;  // category expression against the category class
  std::string era;       // expression against the category eras
  std::string keywords;  // against the keyword text
  // Region expression; a text that does not start with a country code is taken as a
  // country name and replaced by its code.
  std::string region;

  enum NameMode { kContained = 0, kExact = 1 } name_mode = kContained;
  enum KeywordMode { kKeywordForm = 0, kCategoryForm = 1 } keyword_mode = kKeywordForm;

  // Quorix build at or above the threshold: must hold, must not hold, or not tested.
  int threshold_test = kEither;
  float threshold = 0.0f;

  std::optional<KUID> required_kuid;

 private:
  static std::array<int, kCriteriaTestCount> MakeEither() {
    std::array<int, kCriteriaTestCount> all{};
    all.fill(kEither);
    return all;
  }
};

// The flag test (asset_flag_tests.h) behind a criteria test.
int FlagTestOf(CriteriaTest test);

// The region expression a search uses for the criteria's region text.
std::string ResolveRegionExpression(const std::string& region);

// The criteria prepared once for testing many records: expressions taken apart, and only
// the tests that are set looked at.
class CriteriaMatcher {
 public:
  explicit CriteriaMatcher(const SearchCriteria& criteria);
  bool Matches(const AssetView& asset) const;

 private:
  const SearchCriteria& criteria_;
  std::vector<std::pair<int, int>> flag_tests_;  // (flag test, setting) of the tri-states set
  std::optional<CompiledCategoryExpression> category_, era_, region_, keyword_codes_;
  bool ranges_ = false;
};

// Appends the KUIDs of the matching records, in index order.
void SearchAssets(const SearchCriteria& criteria, const AssetSource& index, std::vector<KUID>& result);

}  // namespace QETLib
