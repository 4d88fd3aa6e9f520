// A process killed in the middle of a commit or an install never leaves an asset without
// its committed folder, nor an index that does not load.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/installation.h"

namespace fs = std::filesystem;

namespace {

// The body file of the committed copy: local/hash-XX/<folder>/body.im, passing over the
// temporary "temp..." folders a killed publish leaves beside it.
std::string CommittedBody(const qtest::TempInstallation& inst) {
  for (auto& bucket : fs::directory_iterator(inst.PathOf("local")))
    for (auto& folder : fs::directory_iterator(bucket.path()))
      if (folder.path().filename().string().rfind("temp", 0) != 0 && fs::exists(folder.path() / "body.im"))
        return inst.ReadFile(fs::relative(folder.path() / "body.im", inst.Root()).string());
  return "";
}

TEST(PublishCrash, CommitKilledAtEveryStepKeepsOldOrNewCopy) {
  for (const char* point : {"publish-written", "publish-swapped", "commit-published"}) {
    qtest::TempInstallation inst;
    inst.CopyFromExamples("installation/bin/QETData", "bin/QETData");
    qtest::TempFolder src;
    fs::create_directories(src.Path() + "/a");
    FILE* f = fopen((src.Path() + "/a/config.txt").c_str(), "w");
    fputs("kuid <kuid:700:1>\nkind \"mesh\"\nusername \"Alpha\"\nquorix-build 3.1\n"
          "mesh-table {\n  default {\n    mesh \"body.im\"\n  }\n}\n",
          f);
    fclose(f);
    f = fopen((src.Path() + "/a/body.im").c_str(), "w");
    fputs("old", f);
    fclose(f);
    ASSERT_EQ(inst.Run({"installfrompath", src.Path()}).exit_code, 0);
    ASSERT_EQ(inst.Run({"commit", "<kuid:700:1>"}).exit_code, 0);
    ASSERT_EQ(CommittedBody(inst), "old");

    inst.Run({"edit", "<kuid:700:1>"});
    inst.WriteFile("editing/Alpha/body.im", "new");
    qtest::RunOptions crash;
    crash.env = {{"QUORIX_TEST_CRASH_AT", point}};
    auto killed = inst.Run({"commit", "<kuid:700:1>"}, crash);
    EXPECT_EQ(killed.exit_code, 128 + 9) << point;

    auto status = inst.Run({"status", "<kuid:700:1>"});
    EXPECT_EQ(status.exit_code, 0) << point;
    std::string body = CommittedBody(inst);
    EXPECT_TRUE(body == "old" || body == "new") << point << ": " << body;
    EXPECT_NE(status.out.find(" : EIadLmf : "), std::string::npos) << point << status.out;

    // The commit can be done again, and a repair clears what the crash left behind.
    EXPECT_EQ(inst.Run({"commit", "<kuid:700:1>"}).exit_code, 0) << point;
    EXPECT_EQ(CommittedBody(inst), "new") << point;
    inst.Run({"repairdatabase"});
    size_t leftovers = 0;
    for (auto& e : fs::recursive_directory_iterator(inst.PathOf("local")))
      if (e.is_directory() && e.path().filename().string().rfind("temp", 0) == 0) ++leftovers;
    EXPECT_EQ(leftovers, 0u) << point;
  }
}

}  // namespace

namespace {

TEST(PublishCrash, InstallKilledWhilePublishingLeavesALoadableIndex) {
  qtest::TempInstallation inst;
  inst.CopyFromExamples("installation/bin/QETData", "bin/QETData");
  qtest::TempFolder src;
  inst.WriteFile("../pkgsrc/a/config.txt",
                 "kuid <kuid:700:1>\nkind \"mesh\"\nusername \"Alpha\"\nquorix-build 3.1\n"
                 "mesh-table {\n  default {\n    mesh \"body.im\"\n  }\n}\n");
  inst.WriteFile("../pkgsrc/a/body.im", "body");
  ASSERT_EQ(inst.Run({"installfrompath", inst.PathOf("../pkgsrc")}).exit_code, 0);
  ASSERT_EQ(inst.Run({"commit", "<kuid:700:1>"}).exit_code, 0);
  std::string package = src.Path() + "/a.cdp";
  ASSERT_EQ(inst.Run({"createcdp", package, "<kuid:700:1>"}).exit_code, 0);
  ASSERT_EQ(inst.Run({"delete", "<kuid:700:1>"}).exit_code, 0);

  for (const char* point : {"publish-written", "publish-swapped", "commit-published"}) {
    qtest::RunOptions crash;
    crash.env = {{"QUORIX_TEST_CRASH_AT", point}};
    EXPECT_EQ(inst.Run({"installcdp", package}, crash).exit_code, 128 + 9) << point;
    auto status = inst.Run({"status", "<kuid:700:1>"});
    // Killed before its commit finished, the asset is still open for edit (or already
    // published), and the index loads.
    EXPECT_EQ(status.exit_code, 0) << point << status.out;
    EXPECT_EQ(inst.Run({"revert", "<kuid:700:1>"}).exit_code, 0) << point;
    inst.Run({"delete", "<kuid:700:1>"});
  }
  EXPECT_EQ(inst.Run({"installcdp", package}).exit_code, 0);
  EXPECT_NE(inst.Run({"status", "<kuid:700:1>"}).out.find(" : eIadLmf : "), std::string::npos);
}

}  // namespace
