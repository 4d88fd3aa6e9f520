// Semantic analysis: one small program per message, accepted edge cases, multi-error runs.
#include <gtest/gtest.h>

#include "gs_semantic_support.h"

namespace {

using gstest::Analyse;

// Wraps statements into a function body of class C (line 1).
std::string InBody(const std::string& body, const std::string& members = "") {
  return "class C { " + members + " void f() { " + body + " } };";
}

struct Case {
  std::string source;
  std::string message;  // expected text of the first logged error ("" = accepted)
};

void Check(const Case& c) {
  auto r = Analyse(c.source);
  if (c.message.empty()) {
    EXPECT_EQ(r.errors, 0) << c.source << "\n" << r.log;
    return;
  }
  ASSERT_GT(r.errors, 0) << c.source;
  std::string first = r.log.substr(0, r.log.find('\n'));
  EXPECT_EQ(first, "t.gs(1) : " + c.message) << c.source << "\n" << r.log;
}

TEST(GSSemantic, ClassAndFunctionDeclarationMessages) {
  const Case cases[] = {
      {"public class A { };", "Class has illegal declaration specifiers, line 1."},
      {"class A { }; class A { };", "Class A has already been declared, line 1."},
      {"class A isclass B { };", "Class B has not been declared, line 1."},
      {"static class B { }; class A isclass B { };", "Cannot extend static class B, line 1."},
      {"final class B { }; class A isclass B { };", "Cannot extend final class B, line 1."},
      {"class A isclass B { }; class B isclass A { };", "Class B and A causes cyclic derivation, line 1."},
      {"class B { }; class A isclass B, B { };", "Class A and B causes cyclic derivation, line 1."},
      {"class A { static void f() { } };", "Function has illegal declaration specifiers, line 1."},
      {"class A { native thread void f(); };", "Function has illegal declaration specifiers, line 1."},
      {"class A { Foo f(); };", "object<Foo> not declared, line 1."},
      {"class A { void f(Foo x); };", "object<Foo> not declared, line 1."},
      {"class B { final void f() { } }; class A isclass B { void f() { } };", "Cannot override final function, line 1."},
      {"class A { int f(); void f() { } };", "Function differs only by return type, line 1."},
      {"class A { void f(); public void f() { } };", "Function specifiers differ from prototype, line 1."},
      {"class A { void f(int a) { } void f(int b) { } };", "Function ::f(int) already declared, line 1."},
      {"class A { thread int f() { return 1; } };", "thread function must return void, line 1."},
      {"class A { void f(int a, float a) { } };", "Variable a already declared in this scope, line 1."},
      {"class A { int f() { } };", "expecting return type of int, line 1."},
      {"class A { native int x; };", "member declaration has invalid specifiers, line 1."},
      {"class A { int x; float x; };", "Variable x already declared in this scope, line 1."},
      {"class A { define int X; };", "define variable must have a const assignment, line 1."},
      {"class A { int y; define int X = y; };", "define variable must have a const assignment, line 1."},
      {"class A { int f(); void g() { f(); } int f() { return 1; } };", ""},
      {"class A isclass B { }; class B { public void g() { } }; class C { void f(A a) { a.g(); } };", ""},
  };
  for (const Case& c : cases) Check(c);
}

TEST(GSSemantic, ExpressionMessages) {
  const Case cases[] = {
      {InBody("x = 1;"), "variable x not declared, line 1."},
      {"class B { }; " + InBody("object o = B;"), "class B is not static, line 1."},
      {"static class C { int x; void f() { object o = me; } };", "me keyword invalid in static, line 1."},
      {InBody("string s; s++;"), "illegal types for unary operand ++, line 1"},
      {InBody("int a = ~1.5;"), "illegal types for unary operand ~, line 1"},
      {InBody("bool b = !null;"), "illegal types for unary operand !, line 1"},
      {InBody("++3;"), "expression not an l-value for ++ operator, line 1"},
      {InBody("bool b = true + true;"), "illegal types for operand +, line 1"},
      {InBody("int a = 1 << 2.0;"), "illegal types for operand <<, line 1"},
      {InBody("bool b = me == \"s\";"), "illegal types for operand ==, line 1"},
      {InBody("bool b = 1 and null;"), "illegal types for operand and, line 1"},
      {InBody("int a; a.x = 1;"), ". operator cannot be used on a non-reference type, line 1."},
      {InBody("string s; s.x = 1;"), "unknown object class for '.' operator, line 1."},
      {"class B { int y; }; " + InBody("B b; b.y = 1;"), "member y not public in object B, line 1."},
      {"class B { public int y; }; " + InBody("int a = B.y;"), "B is not a static class or variable within this class, line 1."},
      {"class B { }; " + InBody("B b; b.y = 1;"), "member y does not exist in object B, line 1."},
      {InBody("int a; a[0] = 1;"), "int not an array type for [] operator, line 1"},
      {InBody("int[] a; a[1.5] = 1;"), "index not integral for [] operator, line 1"},
      {InBody("float f; f = f[1,2];"), "float not an array type for [,] operator, line 1"},
      {InBody("string s; s = s[\"a\",];"), "left index not integral for [,] operator, line 1"},
      {InBody("string s; s = s[,true];"), "right index not integral for [,] operator, line 1"},
      {InBody("int a; a = a.size();"), ".size operator requires an array type, line 1."},
      {InBody("int a; bool b = a.isclass(C);"), ".isclass operator requires an object type, line 1."},
      {InBody("bool b = me.isclass(Nope);"), "class Nope not declared for .isclass operator, line 1."},
      {InBody("int a; a.copy(\"x\");"), ".copy operator requires an array type, line 1."},
      {InBody("string s; s.copy(1);"), ".copy expression must be an array type, line 1."},
      {InBody("string s; int[] a; s.copy(a);"), "left and right types incompatible for .copy operator, line 1."},
      {InBody("1 = 2;"), "illegal l-value for assignment, line 1."},
      {InBody("int a = \"s\";"), "cannot cast from string to int, line 1."},
      {"class B { }; class D { }; " + InBody("B b; D d; b = d;"), "cannot cast from object<D> to object<B>, line 1."},
      {"class B { }; " + InBody("B b; Nope n; b = n;"), "class Nope not defined, line 1."},
      {"class B { }; class D { }; " + InBody("B b; D d; b = cast<B> d;"), "cannot cast from D to B, line 1."},
      {InBody("int a = (int) \"s\";"), "cannot cast from string to int, line 1."},
      {InBody("object o = new object();"), "cannot new unnamed object, line 1."},
      {InBody("int a = new int();"), "cannot new type int, line 1."},
      {InBody("int[] a = new int[1.5];"), "non-integral expression for new[], line 1."},
      {InBody("string s = new string(1);"), "constructors not yet supported, line 1."},
      {InBody("object o = new Nope();"), "cannot find class Nope in this translation unit, line 1."},
      {"static class S { }; " + InBody("object o = new S();"), "cannot new static or game class, line 1."},
      {"class G { thread void t() { } }; " + InBody("object o = new G();"), "cannot new static or game class, line 1."},
  };
  for (const Case& c : cases) Check(c);
}

TEST(GSSemantic, CallMessages) {
  const Case cases[] = {
      {InBody("me.inherited();"), "'inherited' can only be used on current function, line 1."},
      {"class B { thread void f() { } }; class C isclass B { thread void f() { inherited(); } };",
       "'inherited' can not be used on native or thread function, line 1."},
      {"class C { void g(int a) { } void g(float a) { } void f() { g(1.5); g(true); g(\"x\"); } };",
       "function g not declared, line 1."},
      {"class B { public void g() { } }; " + InBody("B b; b.h();"), "function h not declared in class B or derivative, line 1."},
      {"class B { void g() { } }; " + InBody("B b; b.g();"), "function g not public in object B, line 1."},
      {"class C { void g(int a, float b) { } void g(float a, int b) { } void f() { g(\"s\", 1); } };",
       "function g not declared, line 1."},
      {InBody("int a = nope();"), "function nope not declared, line 1."},
  };
  for (const Case& c : cases) Check(c);
}

TEST(GSSemantic, StatementMessages) {
  const Case cases[] = {
      {InBody("if (f()) ;"), "invalid if expression, line 1."},
      {InBody("while (f()) ;"), "invalid while expression, line 1."},
      {InBody("int i; for (f(); i < 2; i++) ;"), "invalid for expression, line 1."},
      {InBody("switch (1) { default: ; }"), "switch statement without case, line 1."},
      {InBody("switch (1) { case 1: ; }"), "switch statement without default, line 1."},
      {InBody("switch (\"s\") { case 1: ; default: ; }"), "switch expression not integral, line 1."},
      {InBody("case 1: ;"), "illegal case, line 1."},
      {InBody("int a; switch (a) { case a: ; default: ; }"), "case expression not constant or integral, line 1."},
      {InBody("default: ;"), "illegal default, line 1."},
      {InBody("switch (1) { case 1: ; default: ; default: ; }"), "switch already has default, line 1."},
      {InBody("break;"), "illegal break, line 1."},
      {InBody("switch (1) { case 1: continue; default: ; }"), "illegal continue, line 1."},
      {InBody("return 1;"), "return type mismatch, expecting void, line 1."},
      {"class C { int f() { return; } };", "return type mismatch, expecting int, line 1."},
      {"class B { }; class D { }; class C { B f() { D d; return d; } };", "cannot cast from object<D> to object<B>, line 1."},
      {InBody("wait() { }"), "wait statement must have at least 1 on statement, line 1."},
      {InBody("wait() { on 1, \"b\": ; }"), "on statement requires string constant for major and minor message types, line 1"},
      {InBody("int m; wait() { on \"a\", \"b\", m: ; }"), "on statement requires object type for third parameter, line 1"},
      {InBody("int a; int a;"), "Variable a already declared in this scope, line 1."},
      {InBody("int a; { int a; } goto x; x: ;"), ""},
  };
  for (const Case& c : cases) Check(c);
}

TEST(GSSemantic, AcceptedEdgeCases) {
  const Case cases[] = {
      {InBody("string s = 1 + \"a\"; s = \"a\" + 1; s = s + 1.5 + true;"), ""},
      {InBody("float f = 5.5 % 2; int i = 7 % 2;"), ""},
      {InBody("bool b = 1 and \"s\"; b = me or 2.0; int[] a; b = a and b;"), ""},
      {InBody("switch (3) { case 1 + 2: ; case 0x10: ; case 'a': ; default: ; }"), ""},
      {"class C { define int N = 4; void f() { switch (1) { case N: ; case N * 2: ; default: ; } } };", ""},
      {"class C { void g(int a) { } void g(float a) { } void f() { g(true); } };", ""},
      {InBody("bool b = null == null; string s; b = s == null; b = null != me;"), ""},
      {InBody("int a; a = a = 1; int[] v = new int[3]; v[0] = v[,1].size();"), ""},
      {"class B { public int y; public void g() { } }; class D isclass B { void f() { y = 1; g(); me.g(); } };", ""},
      {"static class S { public define string NAME = \"n\"; public void p() { } }; " +
           InBody("string s = S.NAME; S.p();"),
       ""},
      {"class B { void f() { } }; class D isclass B { void f() { inherited(); } };", ""},
      {InBody("float f = (float) 1; int i = (int) 1.5; string s = (string) 1; int[] a = (int[ ]) null;"), ""},
      {"class B { }; class D isclass B { }; " + InBody("B b = new D(); D d = cast<D> b; object o = d; b = null;"), ""},
      {InBody("wait() { on \"a\", \"b\": break; on \"c\", \"d\", o: continue; }", "object o;"), ""},
  };
  for (const Case& c : cases) Check(c);
}

TEST(GSSemantic, DefinesAndConstantsFoldIntoTheTree) {
  auto r = Analyse(
      "class C { define int N = 2 + 3; define float F = 1; define string S = 5; define bool B = 2;\n"
      "void f() { int a = N * 2; float g = F; string s = S + \"x\"; bool b = B; a = -(1 << 4); } };");
  ASSERT_EQ(r.errors, 0) << r.log;
  EXPECT_NE(r.tree.find("(vars int (= a 10#int))"), std::string::npos) << r.tree;
  EXPECT_NE(r.tree.find("(vars float (= g 1f#float))"), std::string::npos) << r.tree;
  EXPECT_NE(r.tree.find("(vars string (= s \"x\"#string))"), std::string::npos) << r.tree;
  EXPECT_NE(r.tree.find("(vars bool (= b true#bool))"), std::string::npos) << r.tree;
  EXPECT_NE(r.tree.find("(=:d#int a#int -16#int)"), std::string::npos) << r.tree;
}

TEST(GSSemantic, CallDecorations) {
  auto r = Analyse(
      "final class C { void g(float a, string s) { } void f() { g(1, \"x\"); } };");
  ASSERT_EQ(r.errors, 0) << r.log;
  // The int argument is wrapped in an implicit cast to float; void f gets its return.
  EXPECT_NE(r.tree.find("(call:d#void g#void (cast:implicit#float 1#int float) \"x\"#string)"), std::string::npos) << r.tree;
  EXPECT_NE(r.tree.find("(return))"), std::string::npos) << r.tree;
}

TEST(GSSemantic, OverloadTieWithoutExactCandidatePicksTheFirstFound) {
  auto r = Analyse("class C { void g(int a) { } void g(float a) { } void f() { g(true); } };");
  ASSERT_EQ(r.errors, 0) << r.log;
  EXPECT_NE(r.tree.find("(call:d#void g#void (cast:implicit#int true#bool int))"), std::string::npos) << r.tree;
  auto ambiguous = Analyse("class B { public void g(int a) { } }; class D { public void g(int a) { } }; "
                           "class C isclass B, D { void f() { g(1); } };");
  EXPECT_EQ(ambiguous.log.substr(0, ambiguous.log.find('\n')), "t.gs(1) : function call g is ambiguous, line 1.");
}

TEST(GSSemantic, AnalysisContinuesAfterErrors) {
  auto r = Analyse(
      "class C {\n"
      "  void f() {\n"
      "    x = 1;\n"
      "    int a = \"s\";\n"
      "    y.z = 2;\n"
      "    break;\n"
      "  }\n"
      "  int g() { }\n"
      "};\n");
  EXPECT_EQ(r.errors, 6);
  EXPECT_EQ(r.log,
            "t.gs(3) : variable x not declared, line 3.\n"
            "t.gs(4) : cannot cast from string to int, line 4.\n"
            "t.gs(5) : variable y not declared, line 5.\n"
            "t.gs(5) : . operator cannot be used on a non-reference type, line 5.\n"
            "t.gs(6) : illegal break, line 6.\n"
            "t.gs(8) : expecting return type of int, line 8.\n"
            "(t.gs) 6 semantic error(s)\n");
}

TEST(GSSemantic, IncludedUnitsDeclareClassesForTheMainUnit) {
  auto r = Analyse("include \"lib.gs\" class C isclass L { void f() { g(); Uses u; } };",
                   {{"lib.gs", "class L { public void g() { } Missing m() { return null; } }; class Uses { };"}});
  EXPECT_EQ(r.errors, 0) << r.log;
  auto bad = Analyse("include \"lib.gs\" class L { };", {{"lib.gs", "class L { };"}});
  EXPECT_EQ(bad.log, "t.gs(1) : Class L has already been declared, line 1.\n(t.gs) 1 semantic error(s)\n");
  // Base resolution messages name the file that declared the class.
  auto base = Analyse("class C { };", {{"lib.gs", "class L isclass Nope { };"}});
  EXPECT_EQ(base.log.substr(0, base.log.find('\n')), "lib.gs(1) : Class Nope has not been declared, line 1.");
}

TEST(GSSemantic, LongInheritanceChainsNeedNoNativeStack) {
  std::string source;
  const int n = 8000;  // deep enough to break a recursive walk under sanitizers
  for (int i = 0; i < n; ++i)
    source += "class K" + std::to_string(i) + (i + 1 < n ? " isclass K" + std::to_string(i + 1) : "") +
              " { public int m" + std::to_string(i) + "; };\n";
  source += "class U { void f(K0 k) { k.m" + std::to_string(n - 1) + " = 1; } };";
  auto r = Analyse(source);
  EXPECT_EQ(r.errors, 0) << r.log.substr(0, 300);
}

TEST(GSSemantic, DeepNestingStopsTheUnit) {
  std::string expr = "1";
  for (int i = 0; i < 200; ++i) expr = "(" + expr + " + a)";
  auto r = Analyse(InBody("int a; a = " + expr + ";"));
  EXPECT_EQ(r.errors, 1);
  EXPECT_EQ(r.log, "Stack overflow; code nested too deep.\n(t.gs) 1 semantic error(s)\n");
}

}  // namespace
