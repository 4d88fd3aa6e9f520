// Tree decorations left for code generation: symbols, slots, l-values, static references,
// dispatch marks, class slots and function numbering.
#include <gtest/gtest.h>

#include <functional>

#include "gamescript/gs_parser.h"
#include "gamescript/gs_semantic.h"
#include "gs_test_support.h"

namespace {

using namespace GSCompiler;

struct Unit {
  GSStringPool pool;
  GSSymbolTable table{pool};
  Utils::BlockMemory nodes;
  gstest::CaptureLog log;
  GSNode* root = nullptr;
  int errors = -1;

  explicit Unit(const std::string& source) {
    if (GSParse(source, "t.gs", nodes, pool, log, &root) != GS_PARSE_OK) return;
    table.currentDependency = table.InsertDependency("t.gs", 0, 0, 0);
    errors = GSAnalyse(table, GSSemanticInput{root, "t.gs", false, &nodes}, log);
  }

  // First node (depth first, next links included) that satisfies `match`.
  GSNode* Find(const std::function<bool(GSNode*)>& match) const {
    std::vector<GSNode*> work{root};
    while (!work.empty()) {
      GSNode* n = work.back();
      work.pop_back();
      if (!n) continue;
      if (match(n)) return n;
      work.push_back(n->next);
      for (int i = 3; i >= 0; --i) work.push_back(n->child[i]);
    }
    return nullptr;
  }
  GSNode* Identifier(const char* name) const {
    return Find([&](GSNode* n) {
      return n->IsExpression(GS_EXPR_IDENTIFIER) && std::string_view(n->value.text) == name;
    });
  }
  GSClassSymbol* Class(const char* name) const {
    GSSymbol* s = table.Find(std::string_view(name));
    return s && s->kind == GS_SYM_CLASS ? static_cast<GSClassSymbol*>(s) : nullptr;
  }
};

TEST(GSDecoration, SlotsOfParametersLocalsAndMembers) {
  Unit u(
      "class B { public int b0; public string b1; };\n"
      "class C isclass B { int m0; define int K = 1; object m1;\n"
      "  void f(int p1, string p2) { int l3; { float l4; l4 = p1; } l3 = m1 == null; b1 = p2; } };");
  ASSERT_EQ(u.errors, 0) << u.log.Joined();
  EXPECT_EQ(u.Identifier("p1")->slot, 1);
  EXPECT_EQ(u.Identifier("l4")->slot, 4);
  EXPECT_EQ(u.Identifier("l3")->slot, 3);
  GSNode* m1 = u.Identifier("m1");
  EXPECT_EQ(m1->slot, 1);  // own index; the define takes no slot
  EXPECT_TRUE(m1->flags & GS_FLAG_LVALUE);
  auto* var = static_cast<GSVariableSymbol*>(m1->symbol);
  EXPECT_EQ(var->memberOf, u.Class("C"));
  EXPECT_EQ(static_cast<GSVariableSymbol*>(u.Identifier("b1")->symbol)->memberOf, u.Class("B"));
  EXPECT_EQ(u.Class("C")->firstMemberSlot, 2);
  EXPECT_EQ(u.Class("C")->memberCount, 2);
  auto* f = static_cast<GSFunctionSymbolExt*>(u.Find([](GSNode* n) { return n->IsDeclaration(GS_DECL_FUNCTION); })->symbol);
  EXPECT_STREQ(f->signature, "$void@C::f(int,string)");
  EXPECT_EQ(f->localSlots, 5);
  EXPECT_EQ(f->localCount, 2);
}

TEST(GSDecoration, CallsAndStaticReferences) {
  Unit u(
      "static class S { public void p() { } };\n"
      "class B { public void v() { } };\n"
      "final class F isclass B { public void v() { } void w() { } };\n"
      "class C { void f(B b, F x) { S.p(); b.v(); x.v(); } };");
  ASSERT_EQ(u.errors, 0) << u.log.Joined();
  GSNode* s = u.Identifier("S");
  EXPECT_TRUE(s->flags & GS_FLAG_STATIC_REF);
  EXPECT_EQ(s->symbol, u.Class("S"));
  std::vector<GSNode*> calls;
  u.Find([&](GSNode* n) {
    if (n->IsExpression(GS_EXPR_CALL)) calls.push_back(n);
    return false;
  });
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_TRUE(calls[0]->flags & GS_FLAG_DIRECT_CALL);   // static class
  EXPECT_FALSE(calls[1]->flags & GS_FLAG_DIRECT_CALL);  // virtual through B
  EXPECT_TRUE(calls[2]->flags & GS_FLAG_DIRECT_CALL);   // final class
  for (GSNode* c : calls) EXPECT_TRUE(c->flags & GS_FLAG_METHOD_CALL);
  EXPECT_EQ(static_cast<GSFunctionSymbol*>(calls[2]->symbol)->memberOf, u.Class("F"));
  EXPECT_EQ(static_cast<GSFunctionSymbol*>(calls[1]->symbol)->memberOf, u.Class("B"));
  EXPECT_EQ(u.Class("F")->firstFunctionSlot, 1);
  EXPECT_EQ(u.Class("F")->functionCount, 2);
}

TEST(GSDecoration, ScopesEndWithTheirBlock) {
  Unit ok("class C { void f() { { int a; } { int a; a = 1; } } };");
  EXPECT_EQ(ok.errors, 0) << ok.log.Joined();
  Unit bad("class C { void f() { { int a; } a = 1; } };");
  EXPECT_EQ(bad.log.lines.at(0), "t.gs(1) : variable a not declared, line 1.");
  Unit param("class C { void f(int a) { int a; } };");
  EXPECT_EQ(param.log.lines.at(0), "t.gs(1) : Variable a already declared in this scope, line 1.");
}

TEST(GSDecoration, ThreadFunctionsMakeGameClassesAndPrototypesWaitForBodies) {
  Unit u("class G { thread void t(); void u(); thread void t() { } };");
  ASSERT_EQ(u.errors, 0) << u.log.Joined();
  GSClassSymbol* g = u.Class("G");
  EXPECT_TRUE(g->flags & GS_SPEC_GAME);
  GSSymbol* t = g->members.Find(u.pool.Intern("::t()"));
  GSSymbol* v = g->members.Find(u.pool.Intern("::u()"));
  ASSERT_TRUE(t && v);
  EXPECT_FALSE(t->flags & GS_SYMFLAG_PROTOTYPE);  // the body arrived
  EXPECT_TRUE(v->flags & GS_SYMFLAG_PROTOTYPE);
  EXPECT_EQ(g->functionCount, 2);
}

}  // namespace
