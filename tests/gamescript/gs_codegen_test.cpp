// Code generation by language area: each case compiles a small class and compares the
// disassembly of one function (gsldump's form: offset, mnemonic, operands).
#include <gtest/gtest.h>

#include "gs_compile_support.h"

using gstest::CompileClass;

namespace {

struct Case {
  const char* what;
  const char* source;     // the whole unit
  const char* function;   // signature name of the function to look at
  const char* code;       // its disassembly
};

void RunCases(const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(cases[i].what);
    auto c = CompileClass(cases[i].source);
    ASSERT_EQ(c.errors, 0u) << c.Log();
    EXPECT_EQ(c.Code(cases[i].function), cases[i].code) << c.dump;
  }
}

}  // namespace

TEST(GSCodegen, Expressions) {
  const Case cases[] = {
      {"constants use the short forms for 0 and 1", "class C { int f(void) { int a = 0; a = 1; return a + 7; } };",
       "$int@C::f()",
       "0000 push_0\n0001 store_local_v 1\n0004 push_1\n0005 store_local_v 1\n0008 load_local_v 1\n"
       "0011 push_32 7\n0016 add_i\n0017 return_v\n"},
      {"string results convert every other operand", "class C { string f(int i, float x) { return i + \"/\" + x; } };",
       "$string@C::f(int,float)",
       "0000 load_local_v 1\n0003 i2s\n0004 push_string \"/\"\n0007 add_s\n0008 load_local_v 2\n0011 f2s\n"
       "0012 add_s\n0013 return_r\n"},
      {"float results convert int operands; comparisons test the ordering",
       "class C { bool f(int i, float x) { return i * x >= 2.5; } };", "$bool@C::f(int,float)",
       "0000 load_local_v 1\n0003 i2f\n0004 load_local_v 2\n0007 mul_f\n0008 push_32 1075838976 (2.5f)\n"
       "0013 cmp_f\n0014 test_ge\n0015 return_v\n"},
      {"and/or keep a deciding left value, else drop it for the right one",
       "class C { bool f(int i, string s) { return i and s; } };", "$bool@C::f(int,string)",
       "0000 load_local_v 1\n0003 test_ne\n0004 and_jump 15\n0009 pop_v\n0010 load_local_r 2\n0013 not_r\n"
       "0014 test_eq\n0015 return_v\n"},
      {"post-increment with its value: stored step, stepped back",
       "class C { int n; int f(int[] a) { a[n]++; return n++; } };", "$int@C::f(int[])",
       "0000 load_local_r 1\n0003 load_member_v 0\n0006 dup_element\n0007 load_elem_v\n0008 inc_i\n"
       "0009 store_elem_v\n0010 load_member_v 0\n0013 inc_i\n0014 store_member_v_keep 0\n0017 dec_i\n0018 return_v\n"},
      {"member of another object, ranges with a missing bound, size",
       "class P { public string name; };\nclass C { int f(P p) { p.name = p.name[1,]; return p.name.size(); } };",
       "$int@C::f(P)",
       "0000 load_local_r 1\n0003 load_local_r 1\n0006 load_member_of_r 0\n0009 push_1\n0010 push_32 -1\n"
       "0015 range_s\n0016 string_copy\n0017 store_member_of_r 0\n0020 load_local_r 1\n0023 load_member_of_r 0\n"
       "0026 string_size\n0027 return_v\n"},
      {"new, isclass, casts and copy",
       "class B { };\nclass C isclass B { void f(B b) { object[] list = new B[3]; string s = new string();\n"
       "  bool k = b.isclass(C); C c = cast<C> b; s.copy(\"x\"); } };",
       "$void@C::f(B)",
       "0000 push_32 3\n0005 new_array_r\n0006 store_local_r 2\n0009 new_string\n0010 string_copy\n"
       "0011 store_local_r 3\n0014 load_local_r 1\n0017 isclass 1\n0020 store_local_v 4\n0023 load_local_r 1\n"
       "0026 cast 1\n0029 store_local_r 5\n0032 push_string \"x\"\n0035 string_copy\n0036 store_local_r 3\n0039 return\n"},
  };
  RunCases(cases, std::size(cases));
}

TEST(GSCodegen, Calls) {
  const Case cases[] = {
      {"own, inherited-layout, native and discarded calls",
       "class B { public int g(int a) { return a; } };\n"
       "class C isclass B { native void h(string s); int k(void) { g(2); h(\"z\"); return g(1) + 1; } };",
       "$int@C::k()",
       "0000 load_local_r 0\n0003 push_32 2\n0008 call -1 0\n0013 pop_v\n0014 load_local_r 0\n"
       "0017 push_string \"z\"\n0020 call_native -1 1\n0025 load_local_r 0\n0028 push_1\n0029 call -1 0\n"
       "0034 push_1\n0035 add_i\n0036 return_v\n"},
      {"calls through an object use the slot in the object's class; inherited has its prefix",
       "class B { public void s(void) { } };\nclass D isclass B { public void t(void) { } public void s(void) { inherited(); } };\n"
       "class C { void f(D d) { d.t(); } };",
       "$void@D::s()", "0000 load_local_r 0\n0003 inherited 0\n0006 call 0 0\n0011 return\n"},
      {"a static class is reached through its instance",
       "static class Tools { public int Twice(int a) { return a * 2; } };\nclass C { int f(void) { return Tools.Twice(4); } };",
       "$int@C::f()", "0000 static_object 0\n0003 push_32 4\n0008 call -1 0\n0013 return_v\n"},
  };
  RunCases(cases, std::size(cases));
  auto c = CompileClass(
      "class D { public void t(void) { } };\nclass C { void f(D d) { d.t(); } void g(void) { } };");
  ASSERT_EQ(c.errors, 0u) << c.Log();
  EXPECT_EQ(c.Code("$void@C::f(D)"), "0000 load_local_r 1\n0003 call 0 0\n0008 return\n");
}

TEST(GSCodegen, Statements) {
  const Case cases[] = {
      {"if/else and while with break and continue",
       "class C { void f(int n) { while (n) { if (n == 3) break; else continue; } } };", "$void@C::f(int)",
       "0000 loop\n0001 load_local_v 1\n0004 test_ne\n0005 jump_false 45\n0010 load_local_v 1\n0013 push_32 3\n"
       "0018 cmp_i\n0019 test_eq\n0020 jump_false 35\n0025 jump 45\n0030 jump 40\n0035 jump 0\n0040 jump 0\n0045 return\n"},
      {"for: continue goes to the step",
       "class C { void f(void) { int i; for (i = 0; i < 2; i++) continue; } };", "$void@C::f()",
       "0000 push_0\n0001 store_local_v 1\n0004 loop\n0005 load_local_v 1\n0008 push_32 2\n0013 cmp_i\n"
       "0014 test_lt\n0015 jump_false 37\n0020 jump 25\n0025 load_local_v 1\n0028 inc_i\n0029 store_local_v 1\n"
       "0032 jump 4\n0037 return\n"},
      {"switch: values ascending, case offsets and default",
       "class C { int f(int n) { switch (n) { case 9: return 1; case 2 + 2: n = 2; break; default: n = 0; } return n; } };",
       "$int@C::f(int)",
       "0000 load_local_v 1\n0003 switch 2: 4->28 9->26 default->41\n0026 push_1\n0027 return_v\n"
       "0028 push_32 2\n0033 store_local_v 1\n0036 jump 45\n0041 push_0\n0042 store_local_v 1\n"
       "0045 load_local_v 1\n0048 return_v\n"},
      {"wait: message types, handler offsets, continue waits again",
       "game class C { thread void f(void) { object m; wait() { on \"A\", \"B\", m: continue; on \"X\", \"Y\": break; } } };",
       "$void@C::f()",
       "0000 wait 2: \"A\",\"B\"->19 \"X\",\"Y\"->27\n0019 store_local_r 1\n0022 jump 0\n0027 jump 32\n0032 return\n"},
      {"a message stored into another object's member goes through an extra slot",
       "class P { public object m; };\ngame class C { thread void f(P p) { wait() { on \"A\", \"B\", p.m: break; } } };",
       "$void@C::f(P)",
       "0000 wait 1: \"A\",\"B\"->11\n0011 store_local_r 2\n0014 load_local_r 1\n0017 load_local_r 2\n"
       "0020 store_member_of_r 0\n0023 jump 28\n0028 return\n"},
      {"goto jumps to its label",
       "class C { void f(void) { goto end; end: return; } };", "$void@C::f()", "0000 jump 5\n0005 return\n"},
  };
  RunCases(cases, std::size(cases));
}

TEST(GSCodegen, FramesTablesAndInitialiser) {
  auto c = CompileClass(
      "class B { public int x; };\n"
      "game class C isclass B {\n"
      "  public string name = \"n\";\n"
      "  define int LIMIT = 4;\n"
      "  int count = LIMIT;\n"
      "  B other;\n"
      "  public int f(int a, string b) {\n"
      "    string s = b;\n"
      "    int i = a + LIMIT;\n"
      "    object o;\n"
      "    return i + count;\n"
      "  }\n"
      "};\n");
  ASSERT_EQ(c.errors, 0u) << c.Log();
  EXPECT_NE(c.dump.find("  function \"$int@C::f(int,string)\" returns 2/-1 flags 0x1 slot 0 P=3 L=3 T=0 D=2 refs [3 5]\n"),
            std::string::npos)
      << c.dump;
  EXPECT_NE(c.dump.find("    lines 0:8 7:9 19:11\n"), std::string::npos) << c.dump;
  EXPECT_EQ(c.Code("::C()"),
            "0000 push_string \"n\"\n0003 string_copy\n0004 store_member_r 1\n0007 push_32 4\n"
            "0012 store_member_v 2\n0015 return\n");
  EXPECT_NE(c.dump.find("  initialiser \"::C()\" returns 0/-1 flags 0x20 slot -1 P=1 L=0 T=4 D=1 refs []\n"),
            std::string::npos);
  EXPECT_NE(c.dump.find("  member \"name\" type 4 class -1 public slot 1\n"
                        "  member \"count\" type 2 class -1 slot 2\n"
                        "  member \"other\" type 5 class 0 slot 3\n"),
            std::string::npos);
  EXPECT_NE(c.dump.find("code \"C\" flags 0x40 slots 4\n  base 0 offset 0 size 1 direct\n"), std::string::npos);
  EXPECT_NE(c.dump.find("  references [1 3]\n"), std::string::npos);
  // String constants used several times are stored once.
  auto twice = CompileClass("class D { string f(void) { return \"same\" + \"same\"; } string g(void) { return \"same\"; } };");
  ASSERT_EQ(twice.errors, 0u);
  int stored = 0;
  for (const std::string& text : twice.image.strings) stored += text == "same";
  EXPECT_EQ(stored, 1);
}

TEST(GSCodegen, LongDerivationChainsAndOverrides) {
  // 80 levels, each class overriding F and adding G<n>: the last class's table has every
  // inherited slot, F's slots all pointing at the last class.
  std::string source;
  for (int i = 0; i < 80; ++i) {
    source += "class K" + std::to_string(i) + (i ? " isclass K" + std::to_string(i - 1) : std::string()) +
              " { public int F(void) { return " + std::to_string(i) + "; } public void G" + std::to_string(i) +
              "(void) { } };\n";
  }
  auto c = CompileClass(source);
  ASSERT_EQ(c.errors, 0u) << c.Log();
  const GSCompiler::GSCClass& last = c.image.library.compiled.back();
  ASSERT_EQ(last.dispatch.size(), 160u);
  EXPECT_EQ(last.bases.size(), 79u);
  EXPECT_EQ(last.dispatch[0].class_number, 79u);  // K0's F slot: overridden by K79
  EXPECT_EQ(last.dispatch[0].entry, 0u);
  EXPECT_EQ(last.dispatch[1].class_number, 0u);   // K0's G0: inherited as is
  EXPECT_EQ(last.dispatch[158].class_number, 79u);
  EXPECT_EQ(last.dispatch[159].entry, 1u);
}
