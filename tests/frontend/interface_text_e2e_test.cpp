// End to end: the language code kept across runs by setlanguage, and tagged messages
// printed with their interface text (or as bare tags when there is none).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "content/settings.h"
#include "content/tag_container.h"
#include "support/installation.h"

namespace {

ino_t InodeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string StoredLanguage(const qtest::TempInstallation& inst) { return QETLib::ReadLanguageCode(inst.Root()); }

}  // namespace

TEST(SetLanguageE2E, CodeSurvivesAcrossRunsAndIsWrittenOnlyWhenChanged) {
  qtest::TempInstallation inst;
  // Settings the download station keeps beside the language must survive.
  inst.WriteFile("settings/downloadstation.txt", "internet\n{\n  proxy \"none\"\n}\nother 5\n");
  auto first = inst.Run({"setlanguage", "FR"});
  EXPECT_EQ(first.exit_code, 0) << first.out << first.err;
  EXPECT_EQ(StoredLanguage(inst), "fr");

  std::string path = QETLib::DownloadStationSettingsPath(inst.Root());
  QETLib::TagContainer settings;
  ASSERT_TRUE(settings.Load(path));
  EXPECT_EQ(settings.GetContainer("internet").GetText("proxy"), "none");
  EXPECT_EQ(settings.GetInt("other"), 5);

  ino_t before = InodeOf(path);
  EXPECT_EQ(inst.Run({"setlanguage", "fr"}).exit_code, 0);
  EXPECT_EQ(InodeOf(path), before);  // same value: the file is not written again

  EXPECT_EQ(inst.Run({"setlanguage", "uk"}).exit_code, 0);
  EXPECT_EQ(StoredLanguage(inst), "uk");

  auto bad = inst.Run({"setlanguage", "xx"});
  EXPECT_EQ(bad.exit_code, 255);
  EXPECT_NE(bad.out.find("Unknown language code."), std::string::npos);
  EXPECT_EQ(StoredLanguage(inst), "uk");
}

TEST(InterfaceTextE2E, TaggedMessageIsTranslatedWithItsParameters) {
  qtest::TempInstallation inst;
  inst.CopyFromExamples("installation/data/interfacetext.txt", "data/interfacetext.txt");
  auto r = inst.Run({"repairdatabase"});
  EXPECT_NE(r.out.find("Database repair finished with 0 errors and 0 warnings."), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("$qad_log_repair_end"), std::string::npos) << r.out;
}

TEST(InterfaceTextE2E, CompiledFileWinsOverText) {
  qtest::TempInstallation inst;
  QETLib::TagContainer text;
  text.SetString("$qad_log_repair_end", "compiled: $(ERROR_COUNT)/$(WARN_COUNT)");
  std::string folder = inst.PathOf("data");
  inst.WriteFile("data/interfacetext.txt", "$qad_log_repair_end \"from text\"\n");
  ASSERT_TRUE(text.Save(folder + "/interfacetext.chump"));
  auto r = inst.Run({"repairdatabase"});
  EXPECT_NE(r.out.find("compiled: 0/0"), std::string::npos) << r.out;
}

TEST(InterfaceTextE2E, WithoutInterfaceTextTheBareTagIsPrintedAndLogged) {
  qtest::TempInstallation inst;
  std::string log = inst.PathOf("engine.log");
  qtest::RunOptions options;
  options.env.push_back({"QUORIX_ENGINE_LOG", log});
  auto r = inst.Run({"repairdatabase"}, options);
  EXPECT_NE(r.out.find("$qad_log_repair_end"), std::string::npos) << r.out;
  std::string lines = inst.ReadFile("engine.log");
  EXPECT_NE(lines.find("InterfaceTextDB> failed to load compiled interfacetext file\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("InterfaceTextDB> Unable to read interface file 'interfacetext.chump'\n"), std::string::npos);
  EXPECT_NE(lines.find("InterfaceTextDB::GetString> Tag '$qad_log_repair_end' not found in 'interfacetext.chump'\n"),
            std::string::npos);
}
