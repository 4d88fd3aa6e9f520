// Searching the index with criteria, and the tables the records' codes come from.
#include "search/search_assets.h"

#include <gtest/gtest.h>

#include "search/category_tables.h"
#include "search/country_table.h"
#include "search/fake_asset.h"

namespace QETLib {
namespace {

std::vector<int> Contents(const SearchCriteria& criteria, const qtest::FakeIndex& index) {
  std::vector<KUID> found;
  SearchAssets(criteria, index, found);
  std::vector<int> contents;
  for (const KUID& kuid : found) contents.push_back(kuid.content);
  return contents;
}

qtest::FakeIndex SampleIndex() {
  qtest::FakeIndex index;
  index.Add(1, 1, "TR;TV;LOCO").name = "Big Steam";
  index.Add(1, 2, "BD;IND;ACTV").name = "Coal Mine";
  index.Add(1, 3, "CMP;MESH").name = "Steam Dome";
  auto& remote = index.Add(1, 4, "TR;TV;LOCO");
  remote.local_path.clear();  // known only from the download station
  remote.state_flags = 1 << 6;
  return index;
}

TEST(SearchAssets, DefaultsListEverythingInOrder) {
  EXPECT_EQ(Contents(SearchCriteria{}, SampleIndex()), (std::vector<int>{1, 2, 3, 4}));
}

TEST(SearchAssets, PresenceAndCategory) {
  SearchCriteria criteria;
  criteria.category = "TR|CMP";
  EXPECT_EQ(Contents(criteria, SampleIndex()), (std::vector<int>{1, 3, 4}));
  criteria.presence = kMustHold;
  EXPECT_EQ(Contents(criteria, SampleIndex()), (std::vector<int>{1, 3}));
  criteria.presence = kMustNotHold;
  EXPECT_EQ(Contents(criteria, SampleIndex()), (std::vector<int>{4}));
}

TEST(SearchAssets, NameModes) {
  SearchCriteria criteria;
  criteria.name = "steam";
  EXPECT_EQ(Contents(criteria, SampleIndex()), (std::vector<int>{1, 3}));
  criteria.name_mode = SearchCriteria::kExact;
  EXPECT_TRUE(Contents(criteria, SampleIndex()).empty());
  criteria.name = "STEAM DOME";
  EXPECT_EQ(Contents(criteria, SampleIndex()), (std::vector<int>{3}));
}

TEST(SearchAssets, TriStateTestsRangesAndKuid) {
  qtest::FakeIndex index = SampleIndex();
  index.assets[0].check_flags = 1 << 3;  // faulty
  index.assets[1].time1 = 500;
  index.assets[2].quorix_build = 3.5f;
  SearchCriteria criteria;
  criteria.tests[kTestFaulty] = kMustHold;
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{1}));
  criteria.tests[kTestFaulty] = kMustNotHold;
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{2, 3, 4}));
  criteria.tests[kTestFaulty] = 7;  // not a tri-state value: not tested
  EXPECT_EQ(Contents(criteria, index).size(), 4u);

  SearchCriteria times;
  times.time1.min = 100;
  EXPECT_EQ(Contents(times, index), (std::vector<int>{2}));

  SearchCriteria threshold;
  threshold.threshold = 3.0f;
  threshold.threshold_test = kMustHold;
  EXPECT_EQ(Contents(threshold, index), (std::vector<int>{3}));

  SearchCriteria one;
  one.required_kuid = KUID{1, 2, 0};
  EXPECT_EQ(Contents(one, index), (std::vector<int>{2}));
}

TEST(SearchAssets, KeywordModes) {
  qtest::FakeIndex index = SampleIndex();
  index.assets[0].keywords = "steam;locomotive";
  index.assets[1].keywords = "interactive";
  SearchCriteria criteria;
  criteria.keywords = "loco";
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{1}));
  criteria.keyword_mode = SearchCriteria::kCategoryForm;  // whole codes only
  EXPECT_TRUE(Contents(criteria, index).empty());
  criteria.keywords = "-locomotive";
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{2, 3, 4}));
}

TEST(SearchAssets, RegionNamesBecomeCodes) {
  qtest::FakeIndex index = SampleIndex();
  index.assets[0].regions = "DE;AT";
  index.assets[1].regions = "GB";
  SearchCriteria criteria;
  criteria.region = "germany";
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{1}));
  criteria.region = "GB|AT";
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{1, 2}));
  // A negated code starts with "-": no country has that name, so it stays an expression.
  criteria.region = "-GB";
  EXPECT_EQ(Contents(criteria, index), (std::vector<int>{1, 3, 4}));
  // An unknown name narrows the search to nothing rather than lifting the region test.
  criteria.region = "Atlantis";
  EXPECT_TRUE(Contents(criteria, index).empty());
  EXPECT_EQ(ResolveRegionExpression("United States of America"), "US");
  EXPECT_EQ(ResolveRegionExpression("Australia"), "AU");  // "Au" is not a code: case matters
}

TEST(Tables, CountriesAndClasses) {
  EXPECT_EQ(CountryTable().size(), 264u);
  for (const Country& country : CountryTable()) {
    ASSERT_EQ(country.code.size(), 2u) << country.name;
    EXPECT_EQ(CountryCodeForName(country.name).size(), 2u) << country.name;
  }
  EXPECT_TRUE(IsCountryCode("NZ"));
  EXPECT_FALSE(IsCountryCode("nz"));
  EXPECT_EQ(CountryCodeForName("NEW ZEALAND"), "NZ");
  EXPECT_EQ(CountryCodeForName("Narnia"), "");

  EXPECT_EQ(CategoryClassName("TK;BRG"), "Bridge");
  EXPECT_EQ(CategoryClassName("MS"), "Miscellaneous");
  EXPECT_EQ(CategoryClassName("tk"), "");
  int flagged = 0;
  for (const CategoryClass& row : CategoryClassTable()) flagged += row.flag;
  EXPECT_EQ(flagged, 4);

  EXPECT_EQ(ClassForKind("Locomotive"), "TR;TV;LOCO");
  EXPECT_EQ(ClassForKind("industry"), "BD;IND;ACTV;FIXD");
  EXPECT_EQ(ClassForKind("track", "road;tunnels"), "RD;TUN");
  EXPECT_EQ(ClassForKind("track", "rail"), "TK");
  EXPECT_EQ(ClassForKind("no-such-kind"), kFallbackCategoryClass);
  EXPECT_EQ(ClassForLegacyClass("AC", "traincar"), "TR;TV;LOC;ELEC");
  EXPECT_EQ(ClassForLegacyClass("BI", "industry"), "BD;IND;NACT");
  EXPECT_EQ(ClassForLegacyClass("BI", "scenery"), "BD;IND");
  EXPECT_EQ(ClassForLegacyClass("XT", "anything"), "TR;TV;FRT;TANK");
  EXPECT_EQ(ClassForLegacyClass("wa", "signal"), "TO;SIG");
  EXPECT_EQ(ClassForLegacyClass("AC", "scenery"), kFallbackCategoryClass);
}

}  // namespace
}  // namespace QETLib
