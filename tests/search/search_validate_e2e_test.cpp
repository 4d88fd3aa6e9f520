// The searchbycategory and validate commands on a real installation with the demo schema.
#include <gtest/gtest.h>

#include <filesystem>

#include "search/validation_support.h"
#include "support/installation.h"

namespace {

class SearchValidateE2E : public testing::Test {
 protected:
  void SetUp() override {
    inst_.CopyFromExamples("installation/bin/QETData", "bin/QETData");
    Asset("crate", "<kuid:700:1>", "mesh", "CMP;MESH", "mesh-table\n{\n  default\n  {\n    mesh \"crate.im\"\n  }\n}\n");
    Asset("van", "<kuid:700:2>", "traincar", "TR;TV;ROLL",
          "wobble 3\nmesh-table\n{\n  default\n  {\n    mesh \"van.im\"\n  }\n}\n");
    Asset("mine", "<kuid:700:3>", "industry", "BD;IND;ACTV", "mesh-table\n{\n  default\n  {\n    mesh \"m.im\"\n  }\n}\n");
    ASSERT_EQ(inst_.Run({"installfrompath", source_.Path()}).exit_code, 0);
    for (const char* kuid : {"<kuid:700:1>", "<kuid:700:2>", "<kuid:700:3>"})
      ASSERT_EQ(inst_.Run({"commit", kuid}).exit_code, 0);
  }

  void Asset(const std::string& folder, const std::string& kuid, const std::string& kind, const std::string& category,
             const std::string& extra) {
    qtest::WriteText(source_.Path() + "/" + folder + "/config.txt",
                     "kuid " + kuid + "\nkind \"" + kind + "\"\nquorix-build 3.1\nusername \"" + folder +
                         "\"\ncategory-class \"" + category + "\"\n" + extra);
  }

  qtest::TempFolder source_;
  qtest::TempInstallation inst_;
};

TEST_F(SearchValidateE2E, ValidateReportsFindingsWithTheAsset) {
  auto good = inst_.Run({"validate", "<kuid:700:1>"});
  EXPECT_EQ(good.exit_code, 0);
  EXPECT_EQ(good.out, "OK (0 Errors, 0 Warnings)\n");
  auto bad = inst_.Run({"validate", "<kuid:700:2>"});
  EXPECT_EQ(bad.exit_code, 0);
  EXPECT_EQ(bad.out, "- <kuid:700:2> : Unknown tag 'wobble'.\nOK (1 Errors, 0 Warnings)\n");
}

TEST_F(SearchValidateE2E, SearchByCategoryListsInIndexOrder) {
  auto both = inst_.Run({"searchbycategory", "cmp;mesh|tr;-loco"});
  EXPECT_EQ(both.exit_code, 0);
  EXPECT_EQ(both.out,
            "+ 2 : assets matching the specified criteria\n+ #0 : <kuid:700:1>\n+ #1 : <kuid:700:2>\n"
            "OK (0 Errors, 0 Warnings)\n");
  auto industry = inst_.Run({"searchbycategory", "-a", "BD;-ACTV|IND"});
  EXPECT_EQ(industry.exit_code, 0);
  EXPECT_NE(industry.out.find("+ 1 : assets matching the specified criteria\n+ #0 : <kuid:700:3>\n"),
            std::string::npos);
  auto all = inst_.Run({"searchbycategory"});
  EXPECT_EQ(all.exit_code, 0);
  EXPECT_EQ(all.out.find("+ 3 : assets"), 0u);
  auto none = inst_.Run({"searchbycategory", "SCEN"});
  EXPECT_EQ(none.exit_code, 255);
  EXPECT_EQ(none.out, "OK (0 Errors, 0 Warnings)\n");
}

}  // namespace
