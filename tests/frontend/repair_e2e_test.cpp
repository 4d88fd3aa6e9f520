// repairdatabase on real installation folders.
#include <gtest/gtest.h>

#include "support/installation.h"

namespace {

const std::string kRepairing = "Repairing asset database (this may take some time)\n";

class Repair : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;

  void AddAsset(const std::string& folder, const std::string& kuid, const std::string& extra = "") {
    inst.WriteFile("local/" + folder + "/config.txt",
                   "kuid " + kuid + "\nkind \"mesh\"\nusername \"" + folder + "\"\n" + extra);
  }
  std::string Status(const std::string& kuid) { return inst.Run({"status", kuid}).out; }
  static size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  }
};

TEST_F(Repair, PatcherClearsVanishedFolder) {
  AddAsset("gone", "<kuid:500:1>");
  ASSERT_NE(Status("<kuid:500:1>").find(" : eIadLmf : "), std::string::npos);
  ASSERT_EQ(system(("rm -rf " + inst.PathOf("local/gone")).c_str()), 0);

  auto r = inst.Run({"repairdatabase", "patcher"});
  EXPECT_EQ(r.out.find(kRepairing), std::string::npos);  // no announcement at level 50
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(Status("<kuid:500:1>").find(" : eiadlmf : "), std::string::npos);
}

TEST_F(Repair, ChangedFoldersAreReadAgainOnce) {
  AddAsset("one", "<kuid:500:1>");
  AddAsset("two", "<kuid:500:2>");
  auto first = inst.Run({"repairdatabase"});
  EXPECT_EQ(first.out.substr(0, kRepairing.size()), kRepairing);
  EXPECT_EQ(first.exit_code, 0);

  auto quiet = inst.Run({"repairdatabase"});
  EXPECT_EQ(Count(quiet.out, "$qadtask_repair_changed"), 0u) << quiet.out;

  inst.WriteFile("local/two/extra.txt", "more");
  auto changed = inst.Run({"repairdatabase"});
  EXPECT_EQ(Count(changed.out, "$qadtask_repair_changed"), 1u) << changed.out;
  EXPECT_NE(changed.out.find("<kuid:500:2> : $qadtask_repair_changed"), std::string::npos) << changed.out;
  EXPECT_EQ(changed.exit_code, 0);
}

TEST_F(Repair, FindsFoldersDroppedByHand) {
  AddAsset("first", "<kuid:500:1>");
  ASSERT_EQ(inst.Run({"status", "<kuid:500:1>"}).exit_code, 0);
  AddAsset("dropped", "<kuid:500:9>");
  EXPECT_EQ(inst.Run({"status", "<kuid:500:9>"}).exit_code, 255);  // not known until repaired
  EXPECT_EQ(inst.Run({"repairdatabase"}).exit_code, 0);
  EXPECT_NE(Status("<kuid:500:9>").find(" : eIadLmf : "), std::string::npos);
}

TEST_F(Repair, DamagedConfigurationIsAnError) {
  // Built-in content keeps its location while any configuration is there to read.
  inst.WriteFile("base/bad/config.txt", "kuid <kuid:-3:3>\nkind \"mesh\"\nusername \"bad\"\n");
  ASSERT_NE(Status("<kuid:-3:3>").find(" : eIadlmf : "), std::string::npos);
  inst.WriteFile("base/bad/config.txt", "kuid <kuid:-3:999>\n");  // names another asset now
  auto r = inst.Run({"repairdatabase"});
  EXPECT_NE(r.out.find("- <kuid:-3:3> : $qadtask_repair_damaged"), std::string::npos) << r.out;
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Repair, ExtendedLevelDerivesDependencies) {
  AddAsset("user", "<kuid:500:1>", "mesh-table {\n  default {\n    mesh-asset <kuid:500:77>\n  }\n}\n");
  EXPECT_NE(Status("<kuid:500:1>").find(" : eIadLMf : "), std::string::npos);  // depends on an unknown asset
  AddAsset("provider", "<kuid:500:77>");
  EXPECT_EQ(inst.Run({"repairdatabase", "extended"}).exit_code, 0);
  EXPECT_NE(Status("<kuid:500:1>").find(" : eIadLmf : "), std::string::npos);
}

TEST_F(Repair, LeftoverPublishFoldersAreRemoved) {
  AddAsset("kept", "<kuid:500:1>");
  inst.WriteFile("local/hash-01/tempab12cd347/file.bin", "x");
  inst.WriteFile("editing/temp0000000012/file.bin", "x");
  inst.WriteFile("editing/Temple station/file.bin", "x");  // an ordinary folder that looks alike
  auto r = inst.Run({"repairdatabase"});
  EXPECT_FALSE(inst.Exists("local/hash-01/tempab12cd347"));
  EXPECT_FALSE(inst.Exists("editing/temp0000000012")) << r.out;
  EXPECT_TRUE(inst.Exists("editing/Temple station/file.bin"));
}

}  // namespace
