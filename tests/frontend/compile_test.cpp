// The "compile" command end to end: the compiler's own output, build log, switches, the
// user's working folder and exit codes.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/installation.h"

namespace {

const std::string kOk = "OK (0 Errors, 0 Warnings)\n";

qtest::RunOptions In(const qtest::TempInstallation& inst, const std::string& folder) {
  qtest::RunOptions options;
  options.cwd = inst.PathOf(folder);
  return options;
}

}  // namespace

TEST(Compile, BuildsBesideTheSourceInTheUserFolder) {
  qtest::TempInstallation inst;
  inst.WriteFile("work/scripts/loco.gs", "include \"engine.gs\"\ngame class Loco isclass Engine { thread void Run(void) { Start(); } };\n");
  inst.WriteFile("work/lib/engine.gs", "class Engine { public void Start(void) { } };\n");
  auto r = inst.Run({"compile", "-ilib", "scripts/loco.gs"}, In(inst, "work"));
  EXPECT_EQ(r.out, kOk);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(inst.Exists("work/scripts/loco.gsl"));
  EXPECT_FALSE(inst.Exists("work/lib/engine.gsl"));  // an include is only referenced
}

TEST(Compile, ErrorsArePrintedAndLoggedThenTheCommandFails) {
  qtest::TempInstallation inst;
  inst.WriteFile("work/bad.gs", "class Bad {\n  void f(void) { n = 1; }\n};\n");
  inst.WriteFile("work/build.log", "earlier run\n");
  const std::string log = "bad.gs(2) : variable n not declared, line 2.\n(bad.gs) 1 semantic error(s)\n\nBuild Failed...\n";
  auto r = inst.Run({"compile", "-bbuild.log", "bad.gs"}, In(inst, "work"));
  EXPECT_EQ(r.out, log + kOk);
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(inst.ReadFile("work/build.log"), "earlier run\n" + log);
  EXPECT_FALSE(inst.Exists("work/bad.gsl"));

  r = inst.Run({"compile", "-s", "bad.gs"}, In(inst, "work"));  // silent: only the summary
  EXPECT_EQ(r.out, kOk);
  EXPECT_EQ(r.exit_code, 255);
}

TEST(Compile, SwitchesWithoutSourceDocumentAndLastSourceWins) {
  qtest::TempInstallation inst;
  inst.WriteFile("work/a.gs", "class A { int x }");  // would fail
  inst.WriteFile("work/b.gs", "class B { };");

  auto usage = inst.Run({"compile", "-s"}, In(inst, "work"));
  EXPECT_EQ(usage.out.rfind("BELMO GameScript Compiler V1.02\n\nQuorixUtil returns number of compile errors\n", 0), 0u)
      << usage.out;
  EXPECT_EQ(usage.exit_code, 255);

  auto doc = inst.Run({"compile", "a.gs", "-d", "-bdoc.log"}, In(inst, "work"));
  EXPECT_EQ(doc.exit_code, 0);
  for (const char* section : {"1.0 Introduction", "2.2 Keywords", "2.6 Operators", "2.10 Grammar", "3.1 Compiler switches",
                              "4.0 The library file", "6.1 Runtime stack", "9.0 Using BELMO GameScript"})
    EXPECT_NE(doc.out.find(section), std::string::npos) << section;
  EXPECT_FALSE(inst.Exists("work/a.gsl"));
  EXPECT_FALSE(inst.Exists("work/doc.log"));  // -d stops before anything else happens

  auto last = inst.Run({"compile", "a.gs", "b.gs"}, In(inst, "work"));
  EXPECT_EQ(last.out, kOk);
  EXPECT_EQ(last.exit_code, 0);
  EXPECT_TRUE(inst.Exists("work/b.gsl"));
  EXPECT_FALSE(inst.Exists("work/a.gsl"));

  auto missing = inst.Run({"compile", "none.gs"}, In(inst, "work"));
  EXPECT_EQ(missing.out, "Could not read file  none.gs.\n\nBuild Failed...\n" + kOk);
  EXPECT_EQ(missing.exit_code, 255);
}

TEST(Compile, ScrambledSourceFromEncrypt) {
  qtest::TempInstallation inst;
  inst.WriteFile("work/s.gs", "class S { public int v = 5; };\n");
  ASSERT_EQ(inst.Run({"encrypt", "s.gs"}, In(inst, "work")).exit_code, 0);
  auto plain = inst.Run({"compile", "s.gs"}, In(inst, "work"));
  ASSERT_EQ(plain.exit_code, 0);
  const std::string from_gs = inst.ReadFile("work/s.gsl");
  std::remove(inst.PathOf("work/s.gs").c_str());
  std::remove(inst.PathOf("work/s.gsl").c_str());
  auto scrambled = inst.Run({"compile", "s.gse"}, In(inst, "work"));
  EXPECT_EQ(scrambled.out, kOk);
  EXPECT_EQ(scrambled.exit_code, 0);
  // Same text, same name: the same library apart from the source path in its header.
  std::string from_gse = inst.ReadFile("work/s.gsl");
  EXPECT_EQ(from_gse.size(), from_gs.size() + 1);
  EXPECT_EQ(from_gse.substr(4, 16), from_gs.substr(4, 16));
}
