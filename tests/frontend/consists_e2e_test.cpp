// importconsists: old consist lists become consist assets.
#include <gtest/gtest.h>

#include "support/installation.h"

namespace {

const char kList[] =
    "train-0 {\n  name \"Goods\"\n  list {\n    car-0 <kuid:44:1>\n    num-0 3\n    dir-0 1\n"
    "    car-1 <kuid:44:2>\n  }\n}\n"
    "train-1 {\n  name \"No cars here\"\n}\n"
    "train-2 {\n  name \"Express\"\n  list {\n    car-0 <kuid:44:1>\n  }\n}\n";

TEST(ImportConsists, CreatesCommittedConsistsAndSkipsKnownNames) {
  qtest::TempInstallation inst;
  inst.WriteFile("consists.txt", kList);
  // A local consist named "Express" exists already.
  inst.WriteFile("local/express/config.txt",
                 "kuid <kuid:55:1>\nkind \"consist\"\nusername \"Express\"\ncategory-class \"CN\"\n");
  auto r = inst.Run({"importconsists", inst.PathOf("consists.txt")});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_NE(r.out.find("$qad_log_commit_success"), std::string::npos) << r.out;

  // The first generated KUID goes to "Goods"; no other consist was made.
  auto goods = inst.Run({"printconfig", "<kuid:-2:1001>"});
  EXPECT_EQ(goods.exit_code, 0) << goods.out;
  EXPECT_NE(goods.out.find("\"consist\""), std::string::npos);
  EXPECT_NE(goods.out.find("\"Goods\""), std::string::npos);
  EXPECT_NE(goods.out.find("car-kuid"), std::string::npos);
  EXPECT_NE(goods.out.find("<kuid:44:2>"), std::string::npos);
  EXPECT_NE(goods.out.find("kuid-table"), std::string::npos);
  EXPECT_EQ(inst.Run({"status", "<kuid:-2:1002>"}).exit_code, 255);
}

TEST(ImportConsists, UnreadableList) {
  qtest::TempInstallation inst;
  auto r = inst.Run({"importconsists", inst.PathOf("none.txt")});
  EXPECT_EQ(r.out, "- <NULL> : Invalid input path.\nOK (1 Errors, 0 Warnings)\n");
}

}  // namespace
