// Loading with its fall-backs, the first-change step, write-back failure and the low-disk
// threshold, derived status bits, and records built from configurations.
#include <gtest/gtest.h>

#include "content/tag_container.h"
#include "database/asset_info.h"
#include "database/disk_space.h"
#include "database/folder_scan.h"
#include "database/index_file.h"
#include "database/index_store.h"
#include "database/record_builder.h"
#include "engine/file.h"
#include "support/installation.h"

namespace QETLib {
namespace {

AssetRecord Present(const KUID& kuid, const char* name) {
  AssetRecord r(kuid);
  r.SetText(AssetRecord::kName, name);
  r.SetText(AssetRecord::kLocalPath, std::string("local/") + name);
  return r;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Orb::File::Md(root() + "/cache");
    Orb::File::Md(root() + "/local");
    store.Install();
  }
  void TearDown() override {
    store.Uninstall();
    SetFreeDiskSpaceQuery(nullptr);
    TakeLowDiskNotifications();
  }
  std::string root() const { return folder.Path(); }
  std::string path(const char* rel) const { return root() + "/" + rel; }
  void WriteIndex(const char* rel, std::initializer_list<const char*> names) {
    AssetIndex other;
    int n = 0;
    for (const char* name : names) other.Put(Present(KUID{100, ++n, 0}, name));
    ASSERT_TRUE(WriteIndexFile(other, path(rel)));
  }
  void WriteConfig(const char* folder_rel, const char* text) {
    Orb::File::Md(path(folder_rel));
    ASSERT_TRUE(Orb::WriteWholeFile(path(folder_rel) + "/config.txt", text));
  }

  qtest::TempFolder folder;
  AssetIndex index;
  IndexStore store{index, folder.Path()};
};

TEST_F(StoreTest, LoadsTheRootFileAndStaysClean) {
  WriteIndex("assets.tdx", {"a", "b"});
  store.Load();
  EXPECT_EQ(index.Size(), 2u);
  EXPECT_FALSE(index.IsDirty());
  // The first change moves the root file to the backup.
  index.Put(Present(KUID{100, 9, 0}, "c"));
  EXPECT_FALSE(Orb::File::Exists(path("assets.tdx")));
  EXPECT_TRUE(Orb::File::Exists(path("cache/assets.bku")));
  ASSERT_TRUE(store.WriteDatabaseLocal());
  AssetIndex check;
  ASSERT_TRUE(ReadIndexFile(check, path("assets.tdx")));
  EXPECT_EQ(check.Size(), 3u);
  ASSERT_TRUE(ReadIndexFile(check, path("cache/assets.bku")));
  EXPECT_EQ(check.Size(), 2u);
}

TEST_F(StoreTest, FinishedTemporaryFileBecomesTheBackupAndIsWrittenBack) {
  WriteIndex("cache/assets.tdx", {"a", "b", "c"});
  WriteIndex("cache/assets.bku", {"old"});
  store.Load();
  EXPECT_EQ(index.Size(), 3u);
  EXPECT_FALSE(index.IsDirty());  // written back at once
  AssetIndex check;
  ASSERT_TRUE(ReadIndexFile(check, path("assets.tdx")));
  EXPECT_EQ(check.Size(), 3u);
  ASSERT_TRUE(ReadIndexFile(check, path("cache/assets.bku")));
  EXPECT_EQ(check.Size(), 3u);
  EXPECT_FALSE(Orb::File::Exists(path("cache/assets.tdx")));
}

TEST_F(StoreTest, CorruptRootFallsBackToTheBackupAndKeepsIt) {
  ASSERT_TRUE(Orb::WriteWholeFile(path("assets.tdx"), "not an index at all"));
  WriteIndex("cache/assets.bku", {"a", "b"});
  WriteConfig("editing/e1", "kuid <kuid:5:6>\r\nusername \"Edited\"\r\n");
  store.Load();
  EXPECT_EQ(index.Size(), 3u);  // the backup plus the rescanned editing folder
  EXPECT_EQ(index.Get(KUID{5, 6, 0})->EditingPath(), "editing/e1");
  AssetIndex check;
  ASSERT_TRUE(ReadIndexFile(check, path("assets.tdx")));
  EXPECT_EQ(check.Size(), 3u);
  // The unreadable root file never replaced the good backup.
  ASSERT_TRUE(ReadIndexFile(check, path("cache/assets.bku")));
  EXPECT_EQ(check.Size(), 2u);
}

TEST_F(StoreTest, NothingReadableRebuildsByScan) {
  WriteConfig("local/loco", "kuid <kuid2:7:8:2>\r\nusername \"Loco\"\r\ncategory-class \"TR;TV;LOCO\"\r\n");
  WriteConfig("local/nested/deeper/wagon", "kuid <kuid:7:9>\r\nusername \"Wagon\"\r\n");
  WriteConfig("local/nokuid", "username \"Nothing\"\r\n");
  WriteConfig("builtin/1/bridge", "kuid <kuid:-3:10>\r\nusername \"Bridge\"\r\n");
  store.Load();
  ASSERT_EQ(index.Size(), 3u);
  EXPECT_TRUE(index.IsDirty());
  const AssetRecord* loco = index.Get(KUID{7, 8, 2});
  ASSERT_NE(loco, nullptr);
  EXPECT_EQ(loco->LocalPath(), "local/loco");
  EXPECT_NE(loco->folder_signature, 0);
  EXPECT_EQ(index.Get(KUID{7, 9, 0})->LocalPath(), "local/nested/deeper/wagon");
  const AssetRecord* bridge = index.Get(KUID{-3, 10, 127});
  ASSERT_NE(bridge, nullptr);
  EXPECT_EQ(bridge->ResourcePath(), "builtin/1/bridge");
  EXPECT_TRUE(bridge->check_flags & kCheckBuiltin);
}

TEST_F(StoreTest, FailedWriteKeepsTheIndexDirtyAndTestsFreeSpaceAtTheThreshold) {
  WriteIndex("assets.tdx", {"a"});
  store.Load();
  // A folder in the temporary file's place makes the write fail.
  Orb::File::Md(path("cache/assets.tdx/blocker"));
  struct Case {
    int64_t free;
    int posted;
  };
  for (Case c : {Case{52428800, 0}, Case{52428799, 1}, Case{-1, 1}, Case{1LL << 40, 0}}) {
    SetFreeDiskSpaceQuery([&](const std::string&) { return c.free; });
    index.MarkChanged();
    EXPECT_FALSE(store.WriteDatabaseLocal());
    EXPECT_TRUE(index.IsDirty());
    EXPECT_EQ(TakeLowDiskNotifications(), c.posted) << c.free;
    EXPECT_TRUE(index.TakeChangeFlags() & kChangeRecords);
  }
  // The previous good index is still the backup.
  AssetIndex check;
  EXPECT_TRUE(ReadIndexFile(check, path("cache/assets.bku")));
  EXPECT_EQ(check.Size(), 1u);
}

TEST(AssetInfoTest, DependencyBitsAreCachedAndCyclesEnd) {
  AssetIndex index;
  KUID a{1, 1, 0}, b{1, 2, 0}, c{1, 3, 0}, d{1, 4, 0}, unknown{1, 99, 0};
  index.Put(Present(a, "a"));
  index.Put(Present(b, "b"));
  AssetRecord absent(c);  // known but not present
  index.Put(absent);
  AssetRecord faulty = Present(d, "d");
  faulty.check_flags |= kCheckFaulty;
  index.Put(faulty);
  auto& deps = index.Extras().dependencies;
  deps[a].dependencies = {b};
  deps[b].dependencies = {a};  // a cycle
  index.TakeChangeFlags();
  EXPECT_FALSE(HasMissingDependencies(index, *index.GetMutable(a)));
  EXPECT_TRUE(index.GetMutable(b)->check_flags & kCheckMissingDepValid);
  EXPECT_EQ(index.TakeChangeFlags(), kChangeDependencyState);

  deps[b].dependencies = {a, c};
  AssetRecord* ra = index.GetMutable(a);
  EXPECT_FALSE(HasMissingDependencies(index, *ra));  // cached: still the old answer
  ra->check_flags &= ~kCheckMissingDepValid;
  index.GetMutable(b)->check_flags &= ~kCheckMissingDepValid;
  EXPECT_TRUE(HasMissingDependencies(index, *ra));  // through b to the absent c

  deps[d].dependencies = {unknown};
  EXPECT_TRUE(HasMissingDependencies(index, *index.GetMutable(d)));
  deps[b].dependencies = {d};
  EXPECT_TRUE(HasFaultyDependencies(index, *index.GetMutable(b)));

  index.Extras().archive_lists.push_back({"list", {b}});
  AssetInfo info;
  ASSERT_TRUE(GetAssetInfo(index, b, kInfoPartAll, info));
  EXPECT_EQ(StatusLetters(info, false, false), "eIAdLmf");
  EXPECT_FALSE(GetAssetInfo(index, unknown, kInfoPartAll, info));
}

TEST(AssetInfoTest, LongDependencyChainsNeedNoDeepStack) {
  AssetIndex index;
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    index.Put(Present(KUID{2, i, 0}, "x"));
    if (i + 1 < n) index.Extras().dependencies[KUID{2, i, 0}].dependencies = {KUID{2, i + 1, 0}};
  }
  index.Extras().dependencies[KUID{2, n - 1, 0}].dependencies = {KUID{3, 0, 0}};
  EXPECT_TRUE(HasMissingDependencies(index, *index.GetMutable(KUID{2, 0, 0})));
  EXPECT_TRUE(index.Get(KUID{2, n / 2, 0})->check_flags & kCheckMissingDep);
}

TEST(RecordBuilder, FillsFromAConfiguration) {
  TagContainer config;
  ReadTextFromString(config,
                     "kuid <kuid2:12:34:5>\r\nusername \"Map\"\r\ncategory-class \"SS\"\r\nmap-kuid <kuid:1:2>\r\n"
                     "category-region-0 \"AU\"\r\ncategory-region-1 \"NZ\"\r\ncategory-era-0 \"1950s\"\r\n"
                     "company \"Acme\"\r\nkind \"reskin\"\r\nbuild 310\r\n"
                     "privileges {\r\n  permit-edit 0\r\n  permit-listing 0\r\n}\r\n"
                     "kuid-table {\r\n  0 <kuid:1:2>\r\n  1 <kuid2:12:34:5>\r\n}\r\n");
  AssetRecord r;
  ASSERT_TRUE(FillRecordFromConfig(config, true, 77, r));
  EXPECT_EQ(r.kuid, (KUID{12, 34, 5}));
  EXPECT_EQ(r.CategoryClass(), "SS");
  EXPECT_EQ(r.map_kuid, (KUID{1, 2, 0}));
  EXPECT_EQ(r.CategoryRegions(), "AU;NZ");
  EXPECT_EQ(r.CategoryEras(), "1950s");
  EXPECT_EQ(r.CategoryKeywords(), "Acme");
  EXPECT_TRUE(r.state_flags & kStateReskin);
  EXPECT_EQ(r.permission_flags, kPermitCommit);  // built-in: rights from privileges
  EXPECT_EQ(r.build, 310);
  EXPECT_EQ(r.time1, 77);
  AssetRecord user;
  ASSERT_TRUE(FillRecordFromConfig(config, false, 77, user));
  EXPECT_EQ(user.permission_flags, kPermitCommit | kPermitEdit);
  DependencyEntry deps = ConfigDependencies(config);
  ASSERT_EQ(deps.dependencies.size(), 1u);  // its own KUID is left out
  TagContainer none;
  ReadTextFromString(none, "username \"x\"\r\ncategory-class \"TR;TV;LOCO\"\r\n");
  EXPECT_FALSE(FillRecordFromConfig(none, false, 0, r));
  AssetRecord loco;
  loco.SetText(AssetRecord::kCategoryClass, "TR;TV;LOCO");
  loco.SetText(AssetRecord::kCategoryKeywords, "steam");
  loco.RebuildKeywordText();
  EXPECT_EQ(loco.KeywordText(), "steam;locomotive");
}

}  // namespace
}  // namespace QETLib
