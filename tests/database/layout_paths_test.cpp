// Installation layout, the database path operations and temporary paths, on real folders.
#include <gtest/gtest.h>

#include <cstdlib>

#include "content/data_manager.h"
#include "database/database_paths.h"
#include "database/layout.h"
#include "database/resource_database.h"
#include "database/temp_path.h"
#include "engine/file.h"
#include "engine/file_subst.h"
#include "engine/quorix_ex.h"
#include "support/installation.h"

namespace {

using namespace QETLib;

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetUpInstallationFolders(root)); }
  void TearDown() override {
    TearDownInstallationFolders();
    SetInstallationRootFolder("");
    SetTemporaryNameSource({});
  }
  std::string At(const std::string& relative) const { return root + "/" + relative; }
  qtest::TempFolder temp;
  std::string root = temp.Path();
};

TEST_F(LayoutTest, StartUpMakesItsFoldersButNeverTheBuiltInOnes) {
  EXPECT_EQ(InstallationRootFolder(), root);
  for (const std::string& folder : StartupFolders()) EXPECT_TRUE(Orb::File::IsFolder(At(folder))) << folder;
  for (const std::string& folder : BuiltInFolders()) EXPECT_FALSE(Orb::File::Exists(At(folder))) << folder;
  EXPECT_FALSE(Orb::File::Exists(At("builtin")));
  ASSERT_NE(FindResourceDatabase("Editing"), nullptr);
  EXPECT_EQ(FindResourceDatabase("editing")->Folder(), At("editing"));
  EXPECT_EQ(ResourceDatabaseNames().size(), 7u);
  EXPECT_EQ(FindResourceDatabase("scripts"), nullptr);
  EXPECT_EQ(FindResourceDatabase("local")->PathOf("../settings"), "");
  EXPECT_EQ(Orb::FileSubst::Resolve("Scripts/a.gs"), At("scripts/a.gs"));
  EXPECT_EQ(Orb::FileSubst::Resolve("libraries/x.gsl"), At("libraries/x.gsl"));
  EXPECT_EQ(Orb::FileSubst::Resolve("other/x"), "other/x");
  TearDownInstallationFolders();
  EXPECT_EQ(FindResourceDatabase("local"), nullptr);
  EXPECT_EQ(Orb::FileSubst::Resolve("scripts/a.gs"), "scripts/a.gs");
}

TEST_F(LayoutTest, PathRulesDecideBeforeTouchingTheDisk) {
  struct Case {
    std::string folder, path;
    bool ok;
    std::string full;
  } cases[] = {
      {"local", "a/b.txt", true, At("local/a/b.txt")},
      {"local", "\\a\\b.txt", true, At("local/a/b.txt")},
      {"cache", "", true, At("cache")},
      {"", "/abs/file", true, "/abs/file"},
      {"", "relative/file", false, ""},
      {"", "C:\\windows", false, ""},
      {"", "", false, ""},
      {"local", "../settings/x", false, ""},
      {"local", "a/../../x", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + " | " + c.path);
    std::string full;
    EXPECT_EQ(ResolveDatabasePath(c.folder, c.path, full), c.ok);
    if (c.ok) {
      EXPECT_EQ(full, c.full);
    }
  }
  EXPECT_FALSE(DatabaseMakeFolder("", "relative"));
  EXPECT_FALSE(Orb::File::Exists(temp.Path() + "/relative"));
  EXPECT_TRUE(DatabaseMakeFolder("local", "x/y"));
  EXPECT_TRUE(DatabaseExists("", At("local/x/y")));
  EXPECT_TRUE(DatabaseRename("local", "x", "trash", "x"));
  EXPECT_TRUE(DatabaseExists("trash", "x/y"));
  EXPECT_FALSE(DatabaseExists("local", "x"));
}

TEST_F(LayoutTest, DeleteRefusesTheRootAndWhatLiesAboveIt) {
  Orb::WriteWholeFile(At("local/f.txt"), "x");
  for (const std::string& path : {root, root + "/", root + "/.", root + "/local/..", temp.Path() + "/../"}) {
    EXPECT_FALSE(DatabaseDelete("", path)) << path;
    EXPECT_TRUE(Orb::File::IsFolder(At("local"))) << path;
  }
  EXPECT_TRUE(DatabaseDelete("local", "f.txt"));  // a file: prune fails, unlink works
  EXPECT_FALSE(Orb::File::Exists(At("local/f.txt")));
  Orb::File::Md(At("trash/t/u"));
  EXPECT_TRUE(DatabaseDelete("", At("trash/t")));
  EXPECT_FALSE(Orb::File::Exists(At("trash/t")));
  EXPECT_FALSE(DatabaseDelete("trash", "missing"));
}

TEST_F(LayoutTest, IsUnderCache) {
  EXPECT_TRUE(DatabaseIsUnderCache("/cache/thumbnails/a.jpg"));
  EXPECT_TRUE(DatabaseIsUnderCache("\\CACHE\\x"));
  EXPECT_FALSE(DatabaseIsUnderCache("/cachex/a"));
  EXPECT_FALSE(DatabaseIsUnderCache("cache/a"));
}

TEST_F(LayoutTest, TemporaryPathsPreferTheGivenNameThenDrawRandomNames) {
  std::string out;
  ASSERT_TRUE(CreateTemporaryFilePath("editing", "", "edit ", "", "My Loco", out));
  EXPECT_EQ(out, "My Loco");
  Orb::File::Md(At("editing/My Loco"));
  ASSERT_TRUE(CreateTemporaryFilePath("editing", "", "edit ", "", "My Loco", out));
  ASSERT_EQ(out.size(), 5 + 8 + std::string(out.substr(13)).size());
  EXPECT_EQ(out.substr(0, 5), "edit ");
  for (char c : out.substr(5, 8)) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) << out;
  // A name from content never leaves the folder.
  ASSERT_TRUE(CreateTemporaryFilePath("editing", "sub", "edit ", "cdp", "../../evil", out));
  EXPECT_EQ(out.find('/'), 3u);  // "sub/" then one component
  EXPECT_EQ(out.substr(out.size() - 4), ".cdp");
  EXPECT_TRUE(Orb::File::IsFolder(At("editing/sub")));  // the base folder is made
  EXPECT_FALSE(CreateTemporaryFilePath("", "relative", "t", "", "", out));
}

TEST_F(LayoutTest, TemporaryPathsGiveUpAfterExactlyOneHundredCandidates) {
  qtest::TempFolder logs;
  std::string log = logs.Path() + "/engine.log";
  setenv("QUORIX_ENGINE_LOG", log.c_str(), 1);
  int draws = 0;
  SetTemporaryNameSource([&](uint32_t) {
    ++draws;
    return 0u;  // always "00000000"
  });
  std::string out;
  ASSERT_TRUE(CreateTemporaryFilePath("cache", "", "temp", "", "", out));  // learn the counter
  int counter = std::stoi(out.substr(12)) + 1;
  draws = 0;
  Orb::WriteWholeFile(At("cache/temp00000000" + std::to_string(counter)), "taken");
  EXPECT_FALSE(CreateTemporaryFilePath("cache", "", "temp", "", "", out));
  unsetenv("QUORIX_ENGINE_LOG");
  EXPECT_EQ(draws, 100 * 8);
  std::string text;
  ASSERT_TRUE(Orb::ReadWholeFile(log, text));
  EXPECT_EQ(text, "CreateTemporaryFilePath> unable to form valid temp path in 100 tries, at path '" + At("cache") +
                      "' with prefix 'temp'\n");
}

TEST(DataManager, InstanceRaisesTheFatalErrorWhenAbsent) {
  DataManager::Destroy();
  try {
    DataManager::Instance();
    FAIL() << "no error raised";
  } catch (const Orb::QuorixEx& e) {
    EXPECT_STREQ(e.what(), "DataManager::Instance> datamanger not initialised");
  }
  qtest::TempFolder data;
  EXPECT_FALSE(DataManager::Create(data.Path() + "/missing"));
  EXPECT_FALSE(DataManager::Exists());
  ASSERT_TRUE(DataManager::Create(data.Path()));
  EXPECT_EQ(DataManager::Instance().DataFolder(), data.Path() + "/");
  DataManager::Destroy();
  EXPECT_THROW(DataManager::Instance(), Orb::QuorixEx);
}

}  // namespace
