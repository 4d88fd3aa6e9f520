// The "encrypt" command end to end: output file, failures and the user's working folder.
#include <gtest/gtest.h>

#include "engine/file.h"
#include "gamescript/script_source_file.h"
#include "support/installation.h"

namespace {

const char kSummaryOk[] = "OK (0 Errors, 0 Warnings)\n";
const char kInvalid[] = " : Invalid file path.\nOK (1 Errors, 0 Warnings)\n";

std::string Unscrambled(const std::string& path) {
  GSCompiler::ScriptSourceFile source;
  if (!source.Read(Orb::PString(), path) || !source.Unscramble()) return "<unreadable>";
  return std::string(source.Text());
}

}  // namespace

TEST(Encrypt, WritesGseBesideSourceRelativeToUserFolder) {
  qtest::TempInstallation inst;
  const std::string text = "class Loco { void Go(void) { } };\n";
  inst.WriteFile("work/scripts/loco.gs", text);
  qtest::RunOptions options;
  options.cwd = inst.PathOf("work");
  auto r = inst.Run({"encrypt", "scripts/loco.gs"}, options);
  EXPECT_EQ(r.out, kSummaryOk);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(Unscrambled(inst.PathOf("work/scripts/loco.gse")), text);

  // A second run replaces the existing output.
  inst.WriteFile("work/scripts/loco.gs", "class Other {};");
  r = inst.Run({"encrypt", "scripts/loco.gs"}, options);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(Unscrambled(inst.PathOf("work/scripts/loco.gse")), "class Other {};");
}

TEST(Encrypt, FailuresReportInvalidPath) {
  qtest::TempInstallation inst;
  inst.WriteFile("notes.txt", "class A {};");
  inst.WriteFile("ok.gs", "class A {};");
  Orb::File::Md(inst.PathOf("blocked.gse"));  // a folder where the output should go
  inst.WriteFile("blocked.gs", "class A {};");
  qtest::RunOptions options;
  options.cwd = inst.Root();
  struct Case {
    std::vector<std::string> args;
    const char* created;  // a file that must not appear
  } cases[] = {
      {{"encrypt"}, nullptr},
      {{"encrypt", ""}, nullptr},
      {{"encrypt", "notes.txt"}, "notes.gse"},
      {{"encrypt", "missing.gs"}, "missing.gse"},
      {{"encrypt", "blocked.gs"}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : "(none)");
    auto r = inst.Run(c.args, options);
    EXPECT_EQ(r.out, std::string("- <NULL>") + kInvalid);
    EXPECT_EQ(r.exit_code, 255);
    if (c.created) {
      EXPECT_FALSE(inst.Exists(c.created));
    }
  }
  EXPECT_TRUE(Orb::File::IsFolder(inst.PathOf("blocked.gse")));
}
