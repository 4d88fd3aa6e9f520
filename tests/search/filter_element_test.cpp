// Filter elements: flag tests, field texts, groups, equality, and running a filter.
#include "search/filter_element.h"

#include <gtest/gtest.h>

#include "search/asset_flag_tests.h"
#include "search/fake_asset.h"

namespace QETLib {
namespace {

using qtest::FakeAsset;

std::unique_ptr<QADFilterElement> Bool(int test) { return std::make_unique<QADFilterElementBool>(test); }
std::unique_ptr<QADFilterElement> Text(int selector, std::string text) {
  return std::make_unique<QADFilterElementString>(selector, std::move(text));
}

TEST(FilterBool, NamesAndUnknown) {
  EXPECT_EQ(QADFilterElementBool(0).GetName().View(), "local");
  EXPECT_EQ(QADFilterElementBool(12).GetName().View(), "has-faulty-dependencies");
  EXPECT_EQ(QADFilterElementBool(18).GetName().View(), "warnings");
  EXPECT_EQ(QADFilterElementBool(18).GetValue().View(), "true");
  FakeAsset asset;
  asset.local_path = "local/x";
  asset.check_flags = 0xff;
  asset.state_flags = 0xff;
  for (int unknown : {-1, 19, 100}) {
    QADFilterElementBool element(unknown);
    EXPECT_EQ(element.GetName().View(), "unknown");
    EXPECT_FALSE(element.Matches(asset));
  }
}

TEST(FilterBool, PresenceAndFlagTests) {
  FakeAsset nowhere;
  EXPECT_FALSE(TestFlag(kFlagLocal, nowhere));
  EXPECT_TRUE(TestFlag(kFlagLocationUnknown, nowhere));
  EXPECT_FALSE(TestFlag(kFlagValidName, nowhere));

  FakeAsset on_station;
  on_station.state_flags = 1 << 6;
  EXPECT_TRUE(TestFlag(kFlagDownloadStation, on_station));
  EXPECT_FALSE(TestFlag(kFlagLocationUnknown, on_station));
  on_station.editing_path = "editing/a";  // present: no longer "download-station"
  EXPECT_FALSE(TestFlag(kFlagDownloadStation, on_station));
  EXPECT_TRUE(TestFlag(kFlagOpenForEdit, on_station));
  EXPECT_FALSE(TestFlag(kFlagLocallyAvailable, on_station));

  // Faulty and warnings count only for assets available locally.
  FakeAsset faulty;
  faulty.check_flags = (1 << 3) | (1 << 4);
  faulty.editing_path = "editing/a";
  EXPECT_FALSE(TestFlag(kFlagFaulty, faulty));
  EXPECT_FALSE(TestFlag(kFlagWarnings, faulty));
  faulty.resource_path = "x";
  EXPECT_TRUE(TestFlag(kFlagFaulty, faulty));
  EXPECT_TRUE(TestFlag(kFlagWarnings, faulty));

  FakeAsset named;
  named.localised_name = "Lok";
  EXPECT_TRUE(TestFlag(kFlagValidName, named));
  named.permission_flags = 1 << 4;
  named.state_flags = (1 << 0) | (1 << 1) | (1 << 3);
  EXPECT_TRUE(TestFlag(kFlagListingPrivilege, named));
  EXPECT_TRUE(TestFlag(kFlagFavorite, named));
  EXPECT_TRUE(TestFlag(kFlagLocallyEnabled, named));
  EXPECT_TRUE(TestFlag(kFlagFromPaintshed, named));
}

TEST(FilterString, QuotedNamesAreExact) {
  FakeAsset asset;
  asset.name = "Class 47 Diesel";
  QADFilterElementString quoted(QADFilterElementString::kAssetName, "\"class 47 diesel\"");
  EXPECT_TRUE(quoted.Exact());
  EXPECT_EQ(quoted.GetValue().View(), "class 47 diesel");
  EXPECT_TRUE(quoted.Matches(asset));
  QADFilterElementString quoted_part(QADFilterElementString::kAssetName, "\"class 47\"");
  EXPECT_FALSE(quoted_part.Matches(asset));
  QADFilterElementString part(QADFilterElementString::kAssetName, "CLASS 47");
  EXPECT_FALSE(part.Exact());
  EXPECT_TRUE(part.Matches(asset));
  // A lone quote is too short to be a quoted name.
  QADFilterElementString lone(QADFilterElementString::kAssetName, "\"");
  EXPECT_FALSE(lone.Exact());
  // Only asset names are unquoted.
  QADFilterElementString category(QADFilterElementString::kCategoryList, "\"TR\"");
  EXPECT_EQ(category.GetValue().View(), "\"TR\"");
}

TEST(FilterString, Selectors) {
  FakeAsset asset;
  asset.category_class = "TR;TV;LOCO";
  asset.eras = "1950s;1960s";
  asset.regions = "GB;IE";
  asset.keywords = "diesel locomotive";
  const struct {
    int selector;
    const char* name;
    const char* value;
    bool matches;
  } cases[] = {
      {0, "asset-name", "x", false},          {1, "category-list", "TR;-TEND", true},
      {2, "era-list", "1970s|1960s", true},   {3, "keyword-list", "diesel;steam", false},
      {4, "region-list", "IE", true},         {5, "unknown", "IE", false},
  };
  for (const auto& c : cases) {
    QADFilterElementString element(c.selector, c.value);
    EXPECT_EQ(element.GetName().View(), c.name);
    EXPECT_EQ(element.Matches(asset), c.matches) << c.name;
  }
}

TEST(FilterGroup, EmptyAndNegated) {
  FakeAsset asset;
  EXPECT_TRUE(QADFilterElementGroup(QADFilterElementGroup::kAll).Matches(asset));
  EXPECT_FALSE(QADFilterElementGroup(QADFilterElementGroup::kAll, true).Matches(asset));
  EXPECT_TRUE(QADFilterElementGroup(QADFilterElementGroup::kAny).Matches(asset));
  EXPECT_FALSE(QADFilterElementGroup(QADFilterElementGroup::kAny, true).Matches(asset));
}

TEST(FilterGroup, AllAnyAndNegation) {
  FakeAsset asset;
  asset.local_path = "local/a";
  asset.category_class = "CN";
  for (int mode : {0, 1}) {
    for (bool negate : {false, true}) {
      QADFilterElementGroup group(static_cast<QADFilterElementGroup::Mode>(mode), negate);
      group.Add(Bool(kFlagLocal));        // holds
      group.Add(Bool(kFlagOpenForEdit));  // fails
      const bool plain = mode == QADFilterElementGroup::kAny;  // any: true, all: false
      EXPECT_EQ(group.Matches(asset), negate ? !plain : plain) << mode << negate;
    }
  }
}

TEST(FilterGroup, ValueAndEquality) {
  auto make = [](bool negate_inner) {
    auto group = std::make_unique<QADFilterElementGroup>();
    group->Add(Text(1, "CN"));
    group->Add(Bool(kFlagLocal));
    auto inner = std::make_unique<QADFilterElementGroup>(QADFilterElementGroup::kAll, negate_inner);
    inner->Add(Bool(kFlagObsolete));
    group->Add(std::move(inner));
    return group;
  };
  auto a = make(true);
  EXPECT_EQ(a->GetName().View(), "group");
  EXPECT_EQ(a->GetValue().View(), "(category-list:CNlocal:truegroup:(obsolete:true))");
  EXPECT_TRUE(a->IsEqual(*make(true)));
  // Same text, different negation deep inside.
  EXPECT_FALSE(a->IsEqual(*make(false)));
  // A plain element with the group's name and value is not a group.
  QADFilterElementString impostor(1, "x");
  EXPECT_FALSE(a->IsEqual(impostor));
  QADFilterElementGroup any(QADFilterElementGroup::kAny);
  QADFilterElementGroup all(QADFilterElementGroup::kAll);
  EXPECT_FALSE(any.IsEqual(all));
  EXPECT_TRUE(QADFilterElementBool(3).IsEqual(QADFilterElementBool(3)));
  EXPECT_FALSE(QADFilterElementBool(3).IsEqual(QADFilterElementBool(4)));
}

TEST(RunFilter, ConsistSelection) {
  qtest::FakeIndex index;
  index.Add(1, 1, "CN").permission_flags = 1 << 4;
  auto& obsolete = index.Add(1, 2, "CN");
  obsolete.permission_flags = 1 << 4;
  obsolete.obsolete = true;
  index.Add(1, 3, "TR;TV").permission_flags = 1 << 4;
  index.Add(1, 4, "CN");  // no listing privilege
  index.Add(1, 5, "CN").permission_flags = 1 << 4;

  QADFilterElementGroup filter;
  filter.Add(Text(1, "CN"));
  filter.Add(Bool(kFlagLocal));
  filter.Add(Bool(kFlagLocallyAvailable));
  filter.Add(Bool(kFlagListingPrivilege));
  auto not_obsolete = std::make_unique<QADFilterElementGroup>(QADFilterElementGroup::kAll, true);
  not_obsolete->Add(Bool(kFlagObsolete));
  filter.Add(std::move(not_obsolete));

  std::vector<KUID> found;
  RunFilter(filter, index, found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].content, 1);
  EXPECT_EQ(found[1].content, 5);
}

}  // namespace
}  // namespace QETLib
