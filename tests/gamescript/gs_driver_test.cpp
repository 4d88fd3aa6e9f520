// The compiler driver: options, usage text, log format, file search and include handling,
// identities, output names and the failure paths.
#include <gtest/gtest.h>

#include <cstdio>

#include "gamescript/gs_log.h"
#include "gamescript/gs_options.h"
#include "gamescript/script_source_file.h"
#include "gs_compile_support.h"

using namespace GSCompiler;
using gstest::ScriptFolder;

TEST(GSOptions, ReadStrictlyLeftToRight) {
  const char* argv[] = {"prog", "-s", "-bbuild.log", "first.gs", "-pout/", "-iinc1", "-o", "-ofoo", "-c", "-t", "-l",
                        "-", "-zz", "-iinc2", "second.gs", "-d", "third.gs", "-ilate"};
  GSOptions o = ParseOptions(18, argv);
  EXPECT_TRUE(o.silent);
  EXPECT_EQ(*o.build_log, "build.log");
  EXPECT_EQ(*o.output, "out/");
  EXPECT_EQ(o.include_folders, (std::vector<std::string>{"inc1", "inc2"}));
  EXPECT_EQ(o.source, "second.gs");  // -d stopped the parse before third.gs
  EXPECT_TRUE(o.documentation);

  const char* plain[] = {"prog", "a.gs", "b.gs"};
  o = ParseOptions(3, plain);
  EXPECT_EQ(o.source, "b.gs");
  EXPECT_FALSE(o.documentation);
  EXPECT_FALSE(o.output.has_value());
}

TEST(GSOptions, UsageTextAndProgramName) {
  EXPECT_EQ(BareProgramName("C:\\tools\\bin/QuorixUtil"), "QuorixUtil");
  EXPECT_EQ(BareProgramName("drive:gsc"), "gsc");
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  PrintUsage(out, "/opt/x/QuorixUtil");
  std::fclose(out);
  EXPECT_EQ(std::string(text, size),
            "BELMO GameScript Compiler V1.02\n\n"
            "QuorixUtil returns number of compile errors\n"
            "QuorixUtil <option> <option>..\nwhere <option> is one of the following\n\n"
            "<-d> print documentation, u might wanna pipe it to a text document =)\n"
            "<-s> silent\n"
            "<-bfilename> dump the build info (compile log) to file\n"
            "<-ppathname> output path\n"
            "<-ofilename> output library filename\n"
            "<filename> input source file\n"
            "<-ipathname> additional include path\n");
  std::free(text);
}

TEST(GSCompileLog, FormatsCutsAndFlushesUpToAnEmptyLine) {
  GSCompileLog log;
  log.Error("a.gs", 7, "parse error, line 7");
  log.Message(std::string(400, 'x').c_str());
  log.Message("after");
  EXPECT_EQ(log.Lines()[0], "a.gs(7) : parse error, line 7");
  EXPECT_EQ(log.Lines()[1], std::string(255, 'x'));
  ScriptFolder dir;
  const std::string build = dir.Path("build.log");
  Orb::WriteWholeFile(build, "old\n");
  log.Message("");
  log.Message("never shown");
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  log.Flush(&build, false, out);
  std::fclose(out);
  const std::string expected = "a.gs(7) : parse error, line 7\n" + std::string(255, 'x') + "\nafter\n";
  EXPECT_EQ(std::string(text, size), expected);
  std::free(text);
  std::string stored;
  ASSERT_TRUE(Orb::ReadWholeFile(build, stored));
  EXPECT_EQ(stored, "old\n" + expected);
}

TEST(GSDriver, IdentityAndDependenciesAcrossAnIncludeCycle) {
  ScriptFolder dir;
  const std::string a = "include \"sub/B.gs\"\nclass A { B b; };\n";
  const std::string b = "include \"a.gs\"\nclass B { };\n";
  dir.Put("Main/A.gs", a);
  dir.Put("inc/b.gs", b);
  auto c = dir.Compile("Main/A.gs", std::nullopt, {dir.Path("inc")});
  ASSERT_EQ(c.errors, 0u) << c.Log();
  EXPECT_EQ(c.image.library.dependencies.size(), 2u);  // each file once, the cycle ends
  EXPECT_EQ(c.image.source_crc, GSCrc32(a));
  EXPECT_EQ(c.image.name_crc, GSCrc32("a.gs"));  // lower-cased bare name
  EXPECT_EQ(c.image.library.dependencies[0].source_crc, c.image.source_crc);
  EXPECT_EQ(c.image.library.dependencies[0].name_crc, c.image.name_crc);
  EXPECT_EQ(c.image.library.dependencies[1].source_crc, GSCrc32(b));
  EXPECT_EQ(c.image.library.dependencies[1].name_crc, GSCrc32("b.gs"));
  EXPECT_EQ(c.image.library.source_path, dir.Path("Main/A.gs"));
  // Included units are analysed first, so their classes get the first numbers.
  EXPECT_NE(c.dump.find("class 0 \"B\" dependency 1\nclass 1 \"A\" dependency 0\n"), std::string::npos) << c.dump;
  EXPECT_EQ(c.image.library.compiled.size(), 1u);  // included classes are only referenced
}

TEST(GSDriver, ScrambledSourcesAndTheGsFirstRule) {
  ScriptFolder dir;
  const std::string text = "class S { int a; };";
  ScriptSourceFile scrambled;
  scrambled.SetText(text);
  Orb::File::Md(dir.Path("only"));
  ASSERT_TRUE(scrambled.Write(Orb::PString(), dir.Path("only/s.gse")));
  auto from_gse = dir.Compile("only/s.gse");
  ASSERT_EQ(from_gse.errors, 0u) << from_gse.Log();
  EXPECT_TRUE(Orb::File::Exists(dir.Path("only/s.gsl")));
  dir.Put("plain/s.gs", text);
  auto from_gs = dir.Compile("plain/s.gs");
  ASSERT_EQ(from_gs.errors, 0u);
  EXPECT_EQ(from_gse.image.source_crc, from_gs.image.source_crc);  // same identity
  EXPECT_EQ(from_gse.image.name_crc, from_gs.image.name_crc);

  // With both present, x.gse on the command line compiles x.gs.
  dir.Put("both/x.gs", "class X { };");
  dir.Put("both/x.gse", "not a scrambled file");
  auto both = dir.Compile("both/x.gse");
  EXPECT_EQ(both.errors, 0u) << both.Log();
  EXPECT_TRUE(Orb::File::Exists(dir.Path("both/x.gsl")));

  // A damaged scrambled file cannot be read.
  dir.Put("bad/y.gse", std::string(40, '\x01'));
  auto bad = dir.Compile("bad/y.gse");
  EXPECT_EQ(bad.errors, 1u);
  EXPECT_EQ(bad.Log(), "Could not read file  y.gs.\n\nBuild Failed...\n");
}

TEST(GSDriver, OutputFolderIsTheFolderPartOfP) {
  ScriptFolder dir;
  dir.Put("src/m.gs", "class M { };");
  Orb::File::Md(dir.Path("out"));
  EXPECT_EQ(dir.Compile("src/m.gs", dir.Path("out")).errors, 0u);
  EXPECT_TRUE(Orb::File::Exists(dir.Path("m.gsl")));  // "out" without separator: the folder above
  EXPECT_EQ(dir.Compile("src/m.gs", dir.Path("out/")).errors, 0u);
  EXPECT_TRUE(Orb::File::Exists(dir.Path("out/m.gsl")));
  auto missing = dir.Compile("src/m.gs", dir.Path("nowhere/"));
  EXPECT_EQ(missing.errors, 1u);
  EXPECT_EQ(missing.Log(), "Unable to open output file.\n\n");
}

TEST(GSDriver, FailuresWriteNoLibraryAndKeepTheOldOne) {
  ScriptFolder dir;
  dir.Put("f.gsl", "old library");
  struct Case {
    const char* source;
    unsigned errors;
    const char* log;
  } cases[] = {
      {"include \"gone.gs\"\nclass F { };", 1, "Could not read file  gone.gs.\n\nBuild Failed...\n"},
      {"class F { int a }", 1, "f.gs(1) : parse error, line 1\n\nBuild Failed...\n"},
      {"class F { void g(void) { x = 1; y = 2; } };", 2,
       "f.gs(1) : variable x not declared, line 1.\nf.gs(1) : variable y not declared, line 1.\n"
       "(f.gs) 2 semantic error(s)\n\nBuild Failed...\n"},
      {"class F { void g(int a) { switch (a) { case 1: break; case 1: break; default: break; } } };", 1,
       "f.gs(1) : case has duplicate value, line 1\n\nInternal Code Generation Error...\n"},
      {"class F { void g(void) { goto nowhere; } };", 1, "no matching label\n\nInternal Code Generation Error...\n"},
      {"class G { public int h(void) { return 1; } };\nclass F isclass G { public float h(void) { return 1.0; } };", 1,
       "Wrong return type on function: $float@F::h()\n\nInternal Code Generation Error...\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    dir.Put("f.gs", c.source);
    auto r = dir.Compile("f.gs");
    EXPECT_EQ(r.errors, c.errors);
    EXPECT_EQ(r.Log(), c.log);
    std::string stored;
    ASSERT_TRUE(Orb::ReadWholeFile(dir.Path("f.gsl"), stored));
    EXPECT_EQ(stored, "old library");
  }
  // Once it builds, the old library is replaced.
  dir.Put("f.gs", "class F { };");
  EXPECT_EQ(dir.Compile("f.gs").errors, 0u);
  std::string stored;
  ASSERT_TRUE(Orb::ReadWholeFile(dir.Path("f.gsl"), stored));
  EXPECT_NE(stored, "old library");
}

TEST(GSDriver, NamesAreFoundIgnoringLetterCase) {
  ScriptFolder dir;
  dir.Put("LOCO.gs", "include \"Helper.GS\"\nclass Loco { };");
  dir.Put("helper.gs", "class Helper { };");
  auto c = dir.Compile("LOCO.gs");
  ASSERT_EQ(c.errors, 0u) << c.Log();
  EXPECT_TRUE(Orb::File::Exists(dir.Path("LOCO.gsl")));
  EXPECT_EQ(c.image.name_crc, GSCrc32("loco.gs"));
  // Include names never leave the include folders.
  dir.Put("evil.gs", "include \"..\"\nclass E { };");
  auto evil = dir.Compile("evil.gs");
  EXPECT_EQ(evil.Log(), "Could not read file  ...\n\nBuild Failed...\n");
}
