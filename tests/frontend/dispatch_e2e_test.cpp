// The program's start-up, help, fixed commands and argument checks, run as a real process.
#include <gtest/gtest.h>

#include "frontend/help_text.h"
#include "support/installation.h"

namespace {

const std::string kSummaryOk = "OK (0 Errors, 0 Warnings)\n";
const std::string kSummaryOneError = "OK (1 Errors, 0 Warnings)\n";

class Frontend : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;
};

TEST_F(Frontend, HelpAndNoCommand) {
  auto help = inst.Run({"HeLp"});
  EXPECT_EQ(help.out, QETLib::kHelpText);
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.find("\"CMP;MESH|BD;-ACTV|VE|SCEN\"") != std::string::npos);
  EXPECT_TRUE(help.out.find("\n\tFf - The asset is faulty.\n") != std::string::npos);

  auto none = inst.Run({});
  EXPECT_EQ(none.out, QETLib::kHelpText);
  EXPECT_EQ(none.exit_code, 255);
  // Help starts nothing: no installation folders appear.
  EXPECT_FALSE(inst.Exists("local"));
}

TEST_F(Frontend, FixedCommands) {
  auto version = inst.Run({"VERSION"});
  EXPECT_EQ(version.out, "Build 40088\n" + kSummaryOk);
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.err, "");

  auto installed = inst.Run({"installedversion"});
  EXPECT_EQ(installed.out, kSummaryOk);
  EXPECT_EQ(installed.exit_code, 310 % 256);

  auto build = inst.Run({"installedbuildnumber"});
  EXPECT_EQ(build.out, kSummaryOk);
  EXPECT_EQ(build.exit_code, 40088 % 256);

  auto echo = inst.Run({"echo", "A", "b"});
  EXPECT_EQ(echo.out, "A b \n" + kSummaryOk);
  EXPECT_EQ(echo.exit_code, 0);

  auto norender = inst.Run({"version", "norender"});
  EXPECT_EQ(norender.out, "Build 40088\n" + kSummaryOk);
}

TEST_F(Frontend, HugeAndOddArguments) {
  std::vector<std::string> args{"echo"};
  for (int i = 0; i < 100000; ++i) args.push_back("x");
  auto many = inst.Run(args);
  EXPECT_EQ(many.exit_code, 0);
  EXPECT_EQ(many.out.size(), 200000u + 1 + kSummaryOk.size());

  auto odd = inst.Run({"ECHO", "\xff\xfe", std::string(100000, 'y')});
  EXPECT_EQ(odd.out, "\xff\xfe " + std::string(100000, 'y') + " \n" + kSummaryOk);

  auto nonascii = inst.Run({"\xc3\x89" "dit"});
  EXPECT_EQ(nonascii.exit_code, 255);
}

TEST_F(Frontend, UnknownKeyword) {
  auto r = inst.Run({"frobnicate"});
  EXPECT_EQ(r.out, "- <NULL> : Invalid argument, please check the help for the list of valid argument\n\n" +
                       kSummaryOneError);
  EXPECT_EQ(r.exit_code, 255);
}

struct ArgumentCheck {
  std::vector<std::string> args;
  const char* message;
};

TEST_F(Frontend, ArgumentChecks) {
  const ArgumentCheck checks[] = {
      {{"setlanguage"}, "Missing input langauge id parameter."},
      {{"setlanguage", "xx"}, "Unknown language code."},
      {{"installCDP"}, "Missing input filepath parameter."},
      {{"installcdp", ""}, "Missing input filepath parameter."},
      {{"installfrompath"}, "Missing input path parameter."},
      {{"installfrompath", "/no/such/folder/anywhere"}, "Invalid input path."},
      {{"importconsists"}, "Missing input path parameter."},
      {{"edit"}, "Missing AssetID parameter."},
      {{"printconfig"}, "Missing AssetID parameter."},
      {{"compile"}, "Invalid file path."},
      {{"encrypt"}, "Invalid file path."},
      {{"encrypt", "script.txt"}, "Invalid file path."},
      {{"listbuilds"}, "Missing path parameter."},
      {{"commit"}, "Missing AssetID parameter."},
      {{"revert"}, "Missing AssetID parameter."},
      {{"delete"}, "Missing AssetID parameter."},
      {{"compresstexture"}, "Missing AssetID parameter."},
      {{"searchbycategory", "-a"}, "Missing category parameter."},
      {{"status"}, "Missing AssetID parameter."},
      {{"validate"}, "Missing AssetID parameter."},
      {{"createcdp"}, "Missing output path parameter."},
      {{"createcdp", "out.zip", "<kuid:1:2>"}, "The output filename must have a .cdp extension."},
      {{"dlsparse"}, "Missing CDP filepath."},
  };
  for (const ArgumentCheck& c : checks) {
    auto r = inst.Run(c.args);
    EXPECT_EQ(r.out, std::string("- <NULL> : ") + c.message + "\n" + kSummaryOneError) << c.args[0];
    EXPECT_EQ(r.exit_code, 255) << c.args[0];
  }
  EXPECT_FALSE(inst.Exists("bin/out.zip"));
}

}  // namespace
