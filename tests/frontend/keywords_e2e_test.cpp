// New KUIDs, the author list and keyword backup/import, run as real processes.
#include <gtest/gtest.h>

#include "support/installation.h"

namespace {

const std::string kOk = "OK (0 Errors, 0 Warnings)\n";

void AddLocalAsset(const qtest::TempInstallation& inst, const std::string& folder, const std::string& kuid,
                   const std::string& extra = "") {
  inst.WriteFile("local/" + folder + "/config.txt", "kuid " + kuid + "\nkind \"mesh\"\nusername \"" + folder +
                                                        "\"\n" + extra);
}

TEST(GenerateKUID, FreshInstallationStartsAtLocalUserRange) {
  qtest::TempInstallation inst;
  auto first = inst.Run({"generateKUID"});
  EXPECT_EQ(first.out, "<KUID2:-2:1001:127>\n" + kOk);
  EXPECT_EQ(first.exit_code, 0);
  EXPECT_NE(inst.ReadFile("settings/kuid.txt").find("<kuid:-2:1001>"), std::string::npos);
  EXPECT_EQ(inst.Run({"generatekuid"}).out, "<KUID2:-2:1002:127>\n" + kOk);
}

TEST(GenerateKUID, ContinuesFromStoredBaseAndSkipsTakenKUIDs) {
  qtest::TempInstallation inst;
  inst.WriteFile("settings/kuid.txt", "base-kuid <kuid:12345:5000>\n");
  AddLocalAsset(inst, "taken", "<kuid:12345:5001>");
  auto r = inst.Run({"generatekuid"});
  EXPECT_EQ(r.out, "<KUID2:12345:5002:0>\n" + kOk);
  EXPECT_NE(inst.ReadFile("settings/kuid.txt").find("<kuid:12345:5002>"), std::string::npos);
}

TEST(Authors, EachTextOnce) {
  qtest::TempInstallation inst;
  AddLocalAsset(inst, "a", "<kuid:12345:1>");
  AddLocalAsset(inst, "b", "<kuid:12345:2>");
  AddLocalAsset(inst, "c", "<kuid:-3:7>");
  AddLocalAsset(inst, "d", "<kuid:-5:8>");
  AddLocalAsset(inst, "e", "<kuid:-2:9>");
  auto r = inst.Run({"authors"});
  EXPECT_EQ(r.out, "Belmo\nunknown\n#12345\n" + kOk);
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Keywords, BackupThenImport) {
  qtest::TempInstallation inst;
  AddLocalAsset(inst, "a", "<kuid:12345:1>", "category-keyword \"red;blue\"\n");
  auto backup = inst.Run({"backupkeywords", "ignored"});
  EXPECT_EQ(backup.exit_code, 0);
  std::string saved = inst.ReadFile("bin/KeywordsBackup.dat");
  EXPECT_NE(saved.find("<kuid:12345:1>"), std::string::npos);
  EXPECT_NE(saved.find("red;blue"), std::string::npos);

  // Unknown KUIDs and names that are no KUIDs are skipped.
  inst.WriteFile("KeywordsDump.dat",
                 "<kuid:12345:1> \"green\"\n<kuid:999:1> \"ignored\"\nnot-a-kuid \"x\"\n");
  EXPECT_EQ(inst.Run({"importkeywords"}).exit_code, 0);
  EXPECT_EQ(inst.Run({"backupkeywords"}).exit_code, 0);
  saved = inst.ReadFile("bin/KeywordsBackup.dat");
  EXPECT_NE(saved.find("green"), std::string::npos);
  EXPECT_EQ(saved.find("red;blue"), std::string::npos);
  EXPECT_EQ(saved.find("999"), std::string::npos);
}

TEST(Keywords, ImportWithoutDumpFails) {
  qtest::TempInstallation inst;
  auto r = inst.Run({"importkeywords"});
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, kOk);
}

}  // namespace
