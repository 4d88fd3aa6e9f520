// Grammar tests: tree shapes through the printer, list and flag rules, syntax errors.
#include <gtest/gtest.h>

#include "gs_test_support.h"

namespace {

using gstest::Body;
using gstest::Parse;
using namespace GSCompiler;

TEST(GSParser, ExpressionShapes) {
  struct Case {
    const char* body;
    const char* tree;
  } cases[] = {
      {"a = b = c;", "(=:d a (= b c))"},
      {"a - b - c;", "(-:d (- a b) c)"},
      {"a + b * c;", "(+:d a (* b c))"},
      {"a or b and c | d ^ e & f == g < h << i + j;",
       "(or:d a (and b (| c (^ d (& e (== f (< g (<< h (+ i j)))))))))"},
      {"x = (int) y;", "(=:d x (cast y int))"},
      {"x = (float[ ]) y;", "(=:d x (cast y float[]))"},
      {"x = cast<Foo> y;", "(=:d x (cast y Foo))"},
      {"x = cast<Foo[]> y;", "(=:d x (cast y Foo[]))"},
      {"x = -!~+y;", "(=:d x (u- (! (~ (u+ y)))))"},
      {"++x; x--; --x; x++;", "(++:d x) (post--:d x) (--:d x) (post++:d x)"},
      {"a[1]; a[,2]; a[1,]; a[1,2];", "([]:d a 1) ([,]:d a _ 2) ([,]:d a 1) ([,]:d a 1 2)"},
      {"f(); o.g(1, 2); o.x;", "(call:d f) (call:d (. o g) 1 2) (.:d o x)"},
      {"s.size(); o.isclass(Foo); a.copy(b);", "(.size:d s) (.isclass:d o Foo) (.copy:d a b)"},
      {"x = new int[5];", "(=:d x (new int[] 5))"},
      {"x = new Foo();", "(=:d x (new Foo))"},
      {"x = new Foo[n];", "(=:d x (new Foo[] n))"},
      {"x = new string(1);", "(=:d x (new string _ 1))"},
      {"x = me; y = null; z = true; w = false;", "(=:d x me) (=:d y null) (=:d z true) (=:d w false)"},
      {"x = 1.5 + 0x10 + \"s\\n\";", "(=:d x (+ (+ 1.5f 16) \"s\\n\"))"},
      {"a, b, c;", "a:d b:d c:d"},
  };
  for (const Case& c : cases) EXPECT_EQ(Body(c.body), c.tree) << c.body;
}

TEST(GSParser, StatementShapes) {
  struct Case {
    const char* body;
    const char* tree;
  } cases[] = {
      {";;", ""},
      {"if (a) b; else if (c) d; else e;", "(if a b:d (if c d:d e:d))"},
      {"if (a) if (b) c; else d;", "(if a (if b c:d d:d))"},
      {"while (a) ;", "(while a)"},
      {"for (;;) x;", "(for _ _ x:d)"},
      {"for (i = 0; i < n; i++) ;", "(for (=:d i 0) (< i n) _ (post++:d i))"},
      {"for (a, b; c, d; e, f) ;", "(for {a:d b:d} {c:d d} _ {e:d f:d})"},
      {"x: y; goto x;", "(label x) y:d (goto x)"},
      {"switch (a) { case 1: case 2: b; default: ; }",
       "(switch a (block (case 1) (case 2) b:d (default)))"},
      {"wait() { on \"a\", \"b\": x; on \"c\", \"d\", m: { } }",
       "(wait (block (on \"a\" \"b\") x:d (on \"c\" \"d\" m) (block)))"},
      {"return; return a, b; break; continue;", "(return) (return {a:d b}) (break) (continue)"},
      {"int a, b = 1; Foo[ ] c;", "(vars int a (= b 1)) (vars Foo[] c)"},
      {"{ } { x; }", "(block) (block x:d)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Body(c.body), c.tree) << c.body;
}

TEST(GSParser, DeclarationsIncludesThenClasses) {
  auto p = Parse(
      "include \"Lib/A.GS\" include L\"b\\n.gs\"\n"
      "static final class A isclass B, C { public define int X = 1; native void f(void); "
      "thread void g(int a, Foo[] b) { } Foo h(); };\n"
      "class D { };");
  ASSERT_EQ(p.status, GS_PARSE_OK) << p.log;
  EXPECT_EQ(p.tree,
            "(include lib/a.gs) (include b\\n.gs) "
            "(class:static:final A (bases B C) (vars:public:define:member int (= X 1)) "
            "(proto:native void f (params)) "
            "(func:thread void g (params (param int a) (param Foo[] b)) (block)) "
            "(proto Foo h (params))) (class D)");
}

TEST(GSParser, NodeFieldsAndLines) {
  Utils::BlockMemory nodes;
  GSStringPool pool;
  gstest::CaptureLog log;
  GSNode* root = nullptr;
  ASSERT_EQ(GSParse("class A\n{\nvoid f()\n{\nx = 1;\n}\n};", "t.gs", nodes, pool, log, &root), GS_PARSE_OK);
  ASSERT_TRUE(root && root->IsDeclaration(GS_DECL_CLASS));
  EXPECT_EQ(root->child[0]->value.text, pool.Intern("A"));
  GSNode* f = root->child[2];
  ASSERT_TRUE(f->IsDeclaration(GS_DECL_FUNCTION));
  GSNode* body = f->child[3];
  EXPECT_TRUE(body->flags & GS_FLAG_FUNCTION_BODY);
  GSNode* assign = body->child[0];
  EXPECT_TRUE(assign->IsOperator(GS_OP_ASSIGN));
  EXPECT_EQ(assign->resultType, GS_TYPE_NONE);
  EXPECT_EQ(assign->line, 5);
  EXPECT_EQ(body->line, 6);     // built when '}' was read
  EXPECT_EQ(root->line, 7);
  EXPECT_EQ(root->subkind, -1);
  EXPECT_EQ(f->child[0]->subkind, GS_TYPE_VOID);
}

TEST(GSParser, SyntaxErrors) {
  struct Case {
    const char* source;
    const char* log;
  } cases[] = {
      {"include \"a.gs\"", "t.gs(1) : parse error, line 1\n"},
      {"class A { }", "t.gs(1) : parse error, line 1\n"},
      {"class A { }\n\nclass B { };", "t.gs(3) : parse error, line 3\n"},
      {"class A { void f() { a[ ]; } };", "t.gs(1) : parse error, line 1\n"},
      {"class A { void f() { x = (Foo) y; } };", "t.gs(1) : parse error, line 1\n"},
      {"class A { void f() { x = a && b; } };", "t.gs(1) : parse error, line 1\n"},
      {"class A { void f() { x = 1 @ 2; } };", "t.gs(1) : parse error, line 1\n"},
      {"public class A { void f() { } }; int x;", "t.gs(1) : parse error, line 1\n"},
      {"", "t.gs(1) : parse error, line 1\n"},
  };
  for (const Case& c : cases) {
    auto p = Parse(c.source);
    EXPECT_EQ(p.status, GS_PARSE_SYNTAX_ERROR) << c.source;
    EXPECT_EQ(p.log, c.log) << c.source;
  }
  EXPECT_EQ(Parse("class A { };").status, GS_PARSE_OK);
}

TEST(GSParser, DeepNestingEndsInParserStackOverflow) {
  std::string deep = "class A { void f() { x = " + std::string(20000, '(') + "1" + std::string(20000, ')') + "; } };";
  auto p = Parse(deep);
  EXPECT_EQ(p.status, GS_PARSE_STACK_OVERFLOW);
  EXPECT_EQ(p.log, "t.gs(1) : parser stack overflow, line 1\n");
  std::string ok = "class A { void f() { x = " + std::string(2000, '(') + "1" + std::string(2000, ')') + "; } };";
  EXPECT_EQ(Parse(ok).status, GS_PARSE_OK);
}

}  // namespace
