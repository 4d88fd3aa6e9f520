// Interface text store, parameter substitution and tag-container message parameters.
#include <gtest/gtest.h>
#include <unistd.h>
#include <stdlib.h>

#include <algorithm>

#include "engine/file.h"
#include "frontend/interface_text.h"
#include "frontend/results_log.h"

using namespace QETLib;

TEST(SubstituteParameter, EveryOccurrenceAnyCaseNeverTheInsertedValue) {
  struct {
    const char* message;
    const char* name;
    const char* value;
    const char* expected;
  } cases[] = {
      {"$(FILE_PATH) and $(FILE_PATH)", "FILE_PATH", "/a", "/a and /a"},
      {"open $(file_Path)!", "FILE_PATH", "/b", "open /b!"},
      {"x $(FILE_PATH) y", "FILE_PATH", "[$(FILE_PATH)]", "x [$(FILE_PATH)] y"},
      {"$(OTHER) stays", "FILE_PATH", "/c", "$(OTHER) stays"},
      {"$(FILE_PATH$(FILE_PATH))", "FILE_PATH", "v", "$(FILE_PATHv)"},
  };
  for (const auto& c : cases) {
    std::string m = c.message;
    SubstituteParameter(m, c.name, c.value);
    EXPECT_EQ(m, c.expected) << c.message;
  }
}

TEST(ResultsLogParams, TagContainerValuesUnderUpperCasedNames) {
  ResultsLog log;
  TagContainer params;
  params.SetString("file_path", "/x/y.cdp");
  params.SetKUID("asset_kuid", KUID{1, 2, 0});
  params.SetInt("count", 3);
  log.Add(Error, std::nullopt, "$(FILE_PATH): $(ASSET_KUID) $(Count) $(MISSING)", params);
  log.Add(Info, std::nullopt, "plain $(A)", {});
  auto entries = log.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].message, "/x/y.cdp: <kuid:1:2> 3 $(MISSING)");
  EXPECT_EQ(entries[1].message, "plain $(A)");
}

class InterfaceTextDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ::testing::TempDir() + "/itext_root." + std::to_string(getpid());
    Orb::File::Prune(root_);
    Orb::File::Md(root_ + "/data");
    log_ = root_ + "/engine.log";
    ::setenv("QUORIX_ENGINE_LOG", log_.c_str(), 1);
    InterfaceTextDB::Instance().SetRoot(root_);
    InterfaceTextDB::Instance().Reset();
  }
  void TearDown() override {
    ::unsetenv("QUORIX_ENGINE_LOG");
    InterfaceTextDB::Instance().SetRoot("");
    InterfaceTextDB::Instance().Reset();
  }
  std::string ReadLog() {
    std::string text;
    Orb::ReadWholeFile(log_, text);
    return text;
  }
  std::string root_, log_;
};

TEST_F(InterfaceTextDBTest, TextFileIsTheFallbackOfTheCompiledFile) {
  ASSERT_TRUE(Orb::WriteWholeFile(root_ + "/data/interfacetext.txt",
                                  "$qad_hello \"Hello $(NAME)\"\nbelmo_map_text\n{\n  a 1\n}\n"));
  EXPECT_EQ(Translate("$qad_hello"), "Hello $(NAME)");
  EXPECT_EQ(InterfaceTextDB::Instance().BelmoMapText().GetInt("a"), 1);
  EXPECT_FALSE(InterfaceTextDB::Instance().ScenarioText().HasRoot());
  EXPECT_EQ(Translate(""), "");
  EXPECT_NE(ReadLog().find("InterfaceTextDB> failed to load compiled interfacetext file\n"), std::string::npos);
}

TEST_F(InterfaceTextDBTest, CompiledFileIsReadWhenPresent) {
  TagContainer store;
  store.SetString("$qad_hello", "compiled");
  ASSERT_TRUE(store.Save(root_ + "/data/interfacetext.chump"));
  EXPECT_EQ(Translate("$qad_hello"), "compiled");
  EXPECT_EQ(ReadLog().find("failed to load"), std::string::npos);
}

TEST_F(InterfaceTextDBTest, MissingTagsAreReportedAtMostTenTimesPerProcess) {
  InterfaceTextDB& db = InterfaceTextDB::Instance();
  EXPECT_EQ(db.GetString("$qad_quiet", false), "$qad_quiet");
  int before = db.MissingReports();
  for (int i = 0; i < 12; ++i) EXPECT_EQ(Translate("$qad_missing_" + std::to_string(i)), "$qad_missing_" + std::to_string(i));
  std::string log = ReadLog();
  size_t lines = std::count(log.begin(), log.end(), '\n');
  size_t reported = static_cast<size_t>(std::clamp(10 - before, 0, 12));
  EXPECT_EQ(lines, reported + 2);  // plus the two lines about the missing files
  EXPECT_EQ(log.find("$qad_missing_10"), std::string::npos);
  EXPECT_EQ(log.find("$qad_quiet"), std::string::npos);
  if (before == 0) {
    EXPECT_NE(log.find("Tag '$qad_missing_9' not found in 'interfacetext.chump'"), std::string::npos);
  }
}
