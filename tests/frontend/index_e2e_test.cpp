// The asset index seen from outside: the status line, recovery after a crash at each step of
// the write-back, fall-back from a bad root file, rejected versions, and the low-disk notice.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include <unistd.h>

#include "support/installation.h"

namespace {

const char* kLoco = "<kuid:500:1>";
const char* kTender = "<kuid:500:2>";
const char* kHouse = "<kuid:500:3>";

class IndexE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    inst.WriteFile("local/loco/config.txt",
                   "kuid <kuid:500:1>\r\nusername \"Loco\"\r\ncategory-class \"TR;TV;LOCO\"\r\n"
                   "kuid-table {\r\n  0 <kuid:500:2>\r\n}\r\n");
    inst.WriteFile("local/tender/config.txt",
                   "kuid <kuid:500:2>\r\nusername \"Tender\"\r\ncategory-class \"TR;TV;TEND\"\r\n"
                   "kuid-table {\r\n  0 <kuid:500:99>\r\n}\r\n");
    inst.WriteFile("local/house/config.txt", "kuid <kuid:500:3>\r\nusername \"House\"\r\ncategory-class \"BD\"\r\n");
    inst.WriteFile("editing/house/config.txt", "kuid <kuid:500:3>\r\nusername \"House\"\r\ncategory-class \"BD\"\r\n");
  }

  qtest::RunResult Status(const char* kuid, const qtest::RunOptions& options = {}) {
    return inst.Run({"status", kuid}, options);
  }
  // Removes the asset folders, so only an index can still know the assets.
  void RemoveFolders() {
    for (const char* f : {"local/loco", "local/tender", "local/house", "editing/house"}) {
      std::string p = inst.PathOf(f);
      std::remove((p + "/config.txt").c_str());
      std::remove(p.c_str());
    }
  }
  void ExpectAllKnown() {
    auto loco = Status(kLoco);
    EXPECT_EQ(loco.out, "+ <kuid:500:1> : eIadLMf : TR;TV;LOCO : Loco\nOK (0 Errors, 0 Warnings)\n");
    auto tender = Status(kTender);
    EXPECT_EQ(tender.exit_code, 0) << tender.out;
    auto house = Status(kHouse);
    EXPECT_EQ(house.out, "+ <kuid:500:3> : EIadLmf : BD : House\nOK (0 Errors, 0 Warnings)\n");
  }
  std::string EngineLog() {
    std::ifstream in(log_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  qtest::TempInstallation inst;
  std::string log_path = inst.PathOf("engine.log");
};

TEST_F(IndexE2E, StatusLinesFromAScannedInstallation) {
  auto house = Status(kHouse);
  EXPECT_EQ(house.out, "+ <kuid:500:3> : EIadLmf : BD : House\nOK (0 Errors, 0 Warnings)\n");
  EXPECT_EQ(house.exit_code, 0);
  EXPECT_TRUE(inst.Exists("assets.tdx"));
  // The tender depends on an unknown asset, and so, through it, does the loco.
  EXPECT_EQ(Status(kLoco).out, "+ <kuid:500:1> : eIadLMf : TR;TV;LOCO : Loco\nOK (0 Errors, 0 Warnings)\n");
  auto unknown = Status("<kuid:500:77>");
  EXPECT_EQ(unknown.out, "- <kuid:500:77> : Unknown AssetID.\nOK (1 Errors, 0 Warnings)\n");
  EXPECT_EQ(unknown.exit_code, 255);
  auto missing = inst.Run({"status"});
  EXPECT_EQ(missing.out, "- <NULL> : Missing AssetID parameter.\nOK (1 Errors, 0 Warnings)\n");
}

TEST_F(IndexE2E, CrashAnywhereInTheWriteBackKeepsEveryCommittedRecord) {
  for (const char* point : {"index-first-change", "index-write-begin", "index-temp-written", "index-root-deleted",
                            "index-renamed"}) {
    SCOPED_TRACE(point);
    std::remove(inst.PathOf("assets.tdx").c_str());
    std::remove(inst.PathOf("cache/assets.tdx").c_str());
    std::remove(inst.PathOf("cache/assets.bku").c_str());
    SetUp();
    ASSERT_EQ(Status(kHouse).exit_code, 0);  // rebuild by scan, written back at the end
    ASSERT_TRUE(inst.Exists("assets.tdx"));
    RemoveFolders();  // from now on only the index knows the assets
    // The loco's dependency state is not known yet: computing it changes the index.
    qtest::RunOptions crash;
    crash.env = {{"QUORIX_TEST_CRASH_AT", point}};
    auto killed = Status(kLoco, crash);
    EXPECT_EQ(killed.exit_code, 128 + 9);
    ExpectAllKnown();
    EXPECT_TRUE(inst.Exists("assets.tdx"));
  }
}

TEST_F(IndexE2E, AWaitingProcessGetsTheDatabaseAfterTheWriteBack) {
  ASSERT_EQ(Status(kHouse).exit_code, 0);
  RemoveFolders();
  // The first process computes the loco's dependency state and dawdles in its write-back
  // while a second process asks for the database.
  qtest::RunOptions slow;
  slow.env = {{"QUORIX_TEST_DELAY_AT", "index-write-begin:1500"}};
  int first = qtest::StartProgram(inst.Program(), {"status", kLoco}, slow);
  usleep(500 * 1000);
  auto second = Status(kTender);
  EXPECT_EQ(second.out, "+ <kuid:500:2> : eIadLMf : TR;TV;TEND : Tender\nOK (0 Errors, 0 Warnings)\n");
  EXPECT_EQ(qtest::WaitProgram(first), 0);
  ExpectAllKnown();
}

TEST_F(IndexE2E, CorruptRootFileFallsBackToTheBackup) {
  ASSERT_EQ(Status(kHouse).exit_code, 0);
  std::string good = inst.ReadFile("assets.tdx");
  RemoveFolders();
  inst.WriteFile("cache/assets.bku", good);
  std::string bad = good;
  bad[bad.size() / 2] ^= 0x5A;  // the length still matches; the body does not hold together
  bad[20] ^= 0x33;
  inst.WriteFile("assets.tdx", bad);
  ExpectAllKnown();
  EXPECT_EQ(inst.ReadFile("assets.tdx").substr(0, 4), good.substr(0, 4));
}

TEST_F(IndexE2E, RejectedVersionsAreNotLoaded) {
  ASSERT_EQ(Status(kHouse).exit_code, 0);
  std::string good = inst.ReadFile("assets.tdx");
  RemoveFolders();
  for (uint8_t version : {37, 39, 19, 43}) {
    std::string patched = good;
    patched[4] = static_cast<char>(version);
    inst.WriteFile("assets.tdx", patched);
    std::remove(inst.PathOf("cache/assets.bku").c_str());
    auto result = Status(kHouse);
    EXPECT_EQ(result.exit_code, 255) << int(version);
    EXPECT_NE(result.out.find("Unknown AssetID."), std::string::npos) << int(version);
  }
  inst.WriteFile("assets.tdx", good);
  std::remove(inst.PathOf("cache/assets.bku").c_str());
  EXPECT_EQ(Status(kHouse).exit_code, 0);
}

TEST_F(IndexE2E, LowDiskNoticeBelowFiftyMebibytesOnly) {
  struct Case {
    const char* free;
    bool posted;
  };
  for (Case c : {Case{"52428800", false}, Case{"52428799", true}}) {
    SCOPED_TRACE(c.free);
    std::remove(log_path.c_str());
    std::remove(inst.PathOf("assets.tdx").c_str());
    // A folder where the temporary file goes makes the write fail.
    inst.WriteFile("cache/assets.tdx/blocker", "x");
    qtest::RunOptions options;
    options.env = {{"QUORIX_TEST_FREE_SPACE", c.free}, {"QUORIX_ENGINE_LOG", log_path}};
    EXPECT_EQ(Status(kHouse, options).exit_code, 0);
    std::string log = EngineLog();
    EXPECT_NE(log.find("QADThread_WriteDatabaseLocal> gQadAssetIndex.WriteDatabase(\""), std::string::npos) << log;
    EXPECT_EQ(log.find("message 3532") != std::string::npos, c.posted) << log;
    EXPECT_FALSE(inst.Exists("assets.tdx"));
  }
}

}  // namespace
