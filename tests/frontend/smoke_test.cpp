#include <gtest/gtest.h>
#include "support/installation.h"
TEST(Smoke, Version) {
  qtest::TempInstallation inst;
  auto r = inst.Run({"VERSION"});
  EXPECT_EQ(r.out, "Build 40088\nOK (0 Errors, 0 Warnings)\n");
  EXPECT_EQ(r.exit_code, 0);
}
