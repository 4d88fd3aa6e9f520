// Installing, editing, committing, reverting, deleting and exporting assets on real
// installation folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/installation.h"

namespace fs = std::filesystem;

namespace {

class EditInstall : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;
  qtest::TempFolder source;

  // The demo schema, so that the assets below validate cleanly (no F letter).
  void SetUp() override { inst.CopyFromExamples("installation/bin/QETData", "bin/QETData"); }

  // An asset folder to install from, outside the installation.
  void MakeAsset(const std::string& folder, const std::string& kuid, const std::string& name,
                 const std::string& extra = "") {
    fs::create_directories(source.Path() + "/" + folder);
    Write(folder + "/config.txt", "kuid " + kuid + "\nkind \"mesh\"\nusername \"" + name + "\"\nquorix-build 3.1\n" +
                             "category-class \"CMP;MESH\"\nmesh-table {\n  default {\n    mesh \"body.im\"\n  }\n}\n" + extra);
    Write(folder + "/body.im", "mesh bytes of " + name);
  }
  void Write(const std::string& relative, const std::string& text) {
    fs::create_directories(fs::path(source.Path() + "/" + relative).parent_path());
    FILE* f = fopen((source.Path() + "/" + relative).c_str(), "wb");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  std::string StatusLetters(const std::string& kuid) {
    std::string out = inst.Run({"status", kuid}).out;
    size_t a = out.find(" : ");
    return a == std::string::npos ? out : out.substr(a + 3, 7);
  }
  std::vector<std::string> Files(const std::string& relative) {
    std::vector<std::string> files;
    if (!fs::exists(inst.PathOf(relative))) return files;
    for (auto& e : fs::recursive_directory_iterator(inst.PathOf(relative)))
      if (e.is_regular_file()) files.push_back(fs::relative(e.path(), inst.PathOf(relative)).string());
    std::sort(files.begin(), files.end());
    return files;
  }
};

TEST_F(EditInstall, FolderTreeInstallsEveryAssetFolderOpenForEdit) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  MakeAsset("group/b", "<kuid:700:2>", "Beta");
  MakeAsset("a/inner", "<kuid:700:3>", "Hidden");  // inside an asset folder: not searched
  auto r = inst.Run({"installfrompath", source.Path()});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_NE(r.out.find("+ <kuid:700:1> : $qad_installed"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("+ <kuid:700:2> : $qad_installed"), std::string::npos);
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "EIadlmf");
  EXPECT_EQ(inst.Run({"status", "<kuid:700:3>"}).exit_code, 255);
  EXPECT_TRUE(inst.Exists("editing/Alpha/config.txt"));
  EXPECT_TRUE(inst.Exists("editing/Alpha/body.im"));
}

TEST_F(EditInstall, CommitPublishesUnderHashFolders) {
  MakeAsset("a", "<kuid:1:1>", "One");
  MakeAsset("b", "<kuid:4660:0>", "Other");  // user 0x1234
  inst.Run({"installfrompath", source.Path()});
  EXPECT_EQ(inst.Run({"commit", "<kuid:1:1>"}).exit_code, 0);
  EXPECT_EQ(inst.Run({"commit", "<kuid:4660:0>"}).exit_code, 0);
  EXPECT_EQ(StatusLetters("<kuid:1:1>"), "eIadLmf");
  auto hash00 = Files("local/hash-00");
  ASSERT_EQ(hash00.size(), 2u);
  EXPECT_NE(hash00[0].find("/body.im"), std::string::npos);
  EXPECT_NE(hash00[1].find("/config.chump"), std::string::npos);
  EXPECT_EQ(Files("local/hash-26").size(), 2u);
  EXPECT_TRUE(Files("editing").empty());
}

TEST_F(EditInstall, ReopenCommitKeepAndRevert) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  inst.Run({"commit", "<kuid:700:1>"});
  auto first = inst.Run({"edit", "<kuid:700:1>"});
  EXPECT_EQ(first.out.substr(0, 18), "+ <kuid:700:1> : /");
  EXPECT_NE(first.out.find("$qad_log_openforedit_success"), std::string::npos);
  auto again = inst.Run({"edit", "<kuid:700:1>"});
  EXPECT_EQ(again.out.find("$qad_log_openforedit_success"), std::string::npos);  // silent reopen
  EXPECT_EQ(again.out.substr(0, again.out.find('\n')), first.out.substr(0, first.out.find('\n')));
  EXPECT_EQ(inst.Run({"revert", "<kuid:700:1>"}).exit_code, 0);
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "eIadLmf");
}

TEST_F(EditInstall, RevertOfNeverCommittedAssetDropsRecord) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  EXPECT_EQ(inst.Run({"revert", "<kuid:700:1>"}).exit_code, 0);
  EXPECT_EQ(inst.Run({"status", "<kuid:700:1>"}).exit_code, 255);
  EXPECT_TRUE(Files("editing").empty());
}

TEST_F(EditInstall, WrongKuidCannotBeCommitted) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  inst.WriteFile("editing/Alpha/config.txt", "kuid <kuid:700:99>\nkind \"mesh\"\n");
  auto r = inst.Run({"commit", "<kuid:700:1>"});
  EXPECT_NE(r.out.find("- <kuid:700:1> : $qad_commit_wrong_kuid"), std::string::npos) << r.out;
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "EIadlmf");
}

TEST_F(EditInstall, BuiltinDeleteKeepsRecordUserDeleteDropsIt) {
  inst.WriteFile("base/b1/config.txt", "kuid <kuid:-3:10>\nkind \"mesh\"\nusername \"Shipped\"\n");
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  inst.Run({"commit", "<kuid:700:1>"});
  EXPECT_EQ(inst.Run({"delete", "<kuid:-3:10>"}).exit_code, 0);
  EXPECT_EQ(StatusLetters("<kuid:-3:10>"), "eIadlmf");  // built-in content stays
  EXPECT_TRUE(inst.Exists("base/b1/config.txt"));
  EXPECT_EQ(inst.Run({"delete", "<kuid:700:1>"}).exit_code, 0);
  EXPECT_EQ(inst.Run({"status", "<kuid:700:1>"}).exit_code, 255);
  EXPECT_TRUE(Files("local").empty());
}

TEST_F(EditInstall, PackageRoundTripKeepsEveryByte) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  Write("a/sub/deep.dat", std::string("\0\1\2\3binary\xff", 11));
  MakeAsset("b", "<kuid2:700:2:3>", "Beta");
  inst.Run({"installfrompath", source.Path()});
  inst.Run({"commit", "<kuid:700:1>"});
  inst.Run({"commit", "<kuid2:700:2:3>"});
  std::string package = source.Path() + "/out.cdp";
  auto made = inst.Run({"createcdp", package, "<kuid:700:1>", "<kuid2:700:2:3>"});
  ASSERT_EQ(made.exit_code, 0) << made.out << made.err;
  inst.Run({"delete", "<kuid:700:1>"});
  inst.Run({"delete", "<kuid2:700:2:3>"});
  EXPECT_TRUE(Files("local").empty());

  auto installed = inst.Run({"installcdp", package});
  EXPECT_EQ(installed.exit_code, 0) << installed.out;
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "eIadLmf");  // new assets are committed
  std::vector<std::string> files = Files("local");
  ASSERT_EQ(files.size(), 5u);
  for (const std::string& f : files) {
    if (f.find("deep.dat") != std::string::npos) {
      EXPECT_EQ(inst.ReadFile("local/" + f), std::string("\0\1\2\3binary\xff", 11));
    }
    if (f.find("body.im") != std::string::npos) {
      EXPECT_EQ(inst.ReadFile("local/" + f).substr(0, 14), "mesh bytes of ");
    }
  }
}

TEST_F(EditInstall, ReinstallOverExistingAssetLeavesItOpenForEdit) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  inst.Run({"commit", "<kuid:700:1>"});
  std::string package = source.Path() + "/one.cdp";
  ASSERT_EQ(inst.Run({"createcdp", package, "<kuid:700:1>"}).exit_code, 0);
  auto again = inst.Run({"installcdp", package});
  EXPECT_EQ(again.exit_code, 0) << again.out;
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "EIadLmf");
  EXPECT_TRUE(inst.Exists("editing/Alpha/config.txt"));
  EXPECT_FALSE(inst.Exists("editing/Alpha/config.chump"));
}

TEST_F(EditInstall, PromptAnswersSkipForAllAndCancel) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  MakeAsset("b", "<kuid:700:2>", "Beta");
  inst.Run({"installfrompath", source.Path()});
  qtest::RunOptions skip_all;
  skip_all.env = {{"QUORIX_TEST_PROMPT", "1"}};
  auto r = inst.Run({"installfrompath", source.Path()}, skip_all);
  // Both are skipped: the second without asking, each reported with the log tag.
  EXPECT_EQ(r.out.find("$qad_installed"), std::string::npos) << r.out;
  size_t first = r.out.find("! <kuid:700:1> : $qad_prompt_openforedit_log");
  size_t second = r.out.find("! <kuid:700:2> : $qad_prompt_openforedit_log");
  EXPECT_NE(first, std::string::npos) << r.out;
  EXPECT_NE(second, std::string::npos) << r.out;

  qtest::RunOptions cancel;
  cancel.env = {{"QUORIX_TEST_PROMPT", "4"}};
  auto c = inst.Run({"installfrompath", source.Path()}, cancel);
  EXPECT_EQ(c.out.find("<kuid:700:2>"), std::string::npos) << c.out;  // nothing after the cancel
}

TEST_F(EditInstall, CreateCdpRefusals) {
  MakeAsset("a", "<kuid:700:1>", "Alpha");
  inst.Run({"installfrompath", source.Path()});
  std::string package = source.Path() + "/x.cdp";
  auto bad = inst.Run({"createcdp", package, "700:1:2"});
  EXPECT_EQ(bad.out, "- <NULL> : Invalid AssetID.\nOK (1 Errors, 0 Warnings)\n");
  auto unknown = inst.Run({"createcdp", package, "<kuid:700:5>"});
  EXPECT_EQ(unknown.out, "- <kuid:700:5> : Asset is not local.\nOK (1 Errors, 0 Warnings)\n");
  auto open = inst.Run({"createcdp", package, "<kuid:700:1>"});  // open for edit, never committed
  EXPECT_EQ(open.exit_code, 255) << open.out;
  EXPECT_FALSE(fs::exists(package));
}

TEST_F(EditInstall, CommittingADependencyClearsTheMissingLetterOfItsUsers) {
  MakeAsset("user", "<kuid:700:1>", "User", "kuid-table {\n  0 <kuid:700:2>\n}\n");
  inst.Run({"installfrompath", source.Path()});
  inst.Run({"commit", "<kuid:700:1>"});
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "eIadLMf");  // the cached answer is stored in the index

  qtest::TempFolder more;
  fs::create_directories(more.Path() + "/provider");
  FILE* f = fopen((more.Path() + "/provider/config.txt").c_str(), "w");
  fputs("kuid <kuid:700:2>\nkind \"mesh\"\nusername \"Provider\"\nquorix-build 3.1\n"
        "category-class \"CMP;MESH\"\nmesh-table {\n  default {\n    mesh \"p.im\"\n  }\n}\n", f);
  fclose(f);
  inst.Run({"installfrompath", more.Path()});
  inst.Run({"commit", "<kuid:700:2>"});
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "eIadLmf");
  inst.Run({"delete", "<kuid:700:2>"});
  EXPECT_EQ(StatusLetters("<kuid:700:1>"), "eIadLMf");
}

TEST_F(EditInstall, UnreadablePackage) {
  Write("junk.cdp", "not a package");
  auto r = inst.Run({"installcdp", source.Path() + "/junk.cdp"});
  EXPECT_EQ(r.out, "- <NULL> : $qad_unreadable_cdp\nOK (1 Errors, 0 Warnings)\n");
  EXPECT_EQ(r.exit_code, 255);
}

}  // namespace
