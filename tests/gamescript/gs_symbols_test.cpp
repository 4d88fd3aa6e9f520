// Symbol table: scopes, shadowing, the level limit, units, signature names.
#include <gtest/gtest.h>

#include "gamescript/gs_symbols.h"

namespace {

using namespace GSCompiler;

GSSymbol* Var(GSSymbolTable& t, const char* name) {
  return t.NewSymbol<GSVariableSymbol>(t.Pool().Intern(name), GS_SYM_VARIABLE);
}

TEST(GSSymbols, ScopesShadowAndLeavingRemovesExactlyTheirSymbols) {
  GSStringPool pool;
  GSSymbolTable t(pool);
  GSSymbol* outer = Var(t, "a");
  ASSERT_TRUE(t.Insert(outer));
  EXPECT_FALSE(t.Insert(Var(t, "a")));  // taken at this level
  t.EnterScope();
  GSSymbol* inner = Var(t, "a");
  ASSERT_TRUE(t.Insert(inner));
  ASSERT_TRUE(t.Insert(Var(t, "b")));
  EXPECT_EQ(t.Find(std::string_view("a")), inner);
  EXPECT_EQ(inner->level, 1);
  t.LeaveScope();
  EXPECT_EQ(t.Find(std::string_view("a")), outer);
  EXPECT_EQ(t.Find(std::string_view("b")), nullptr);
}

TEST(GSSymbols, AtMost64LevelsAndBalancedLeaves) {
  GSStringPool pool;
  GSSymbolTable t(pool);
  for (int i = 0; i < 100; ++i) t.EnterScope();
  EXPECT_EQ(t.Level(), 63);  // entering with 63 levels open is ignored
  ASSERT_TRUE(t.Insert(Var(t, "deep")));
  for (int i = 0; i < 37; ++i) t.LeaveScope();  // the ignored enters come off first
  EXPECT_EQ(t.Level(), 63);
  EXPECT_NE(t.Find(std::string_view("deep")), nullptr);
  t.LeaveScope();
  EXPECT_EQ(t.Level(), 62);
  EXPECT_EQ(t.Find(std::string_view("deep")), nullptr);
}

TEST(GSSymbols, UnitsLiveInTheOutermostScope) {
  GSStringPool pool;
  GSSymbolTable t(pool);
  t.EnterScope();
  GSDependentSymbol* dep = t.InsertDependency("main.gs", 1, 2, 0);
  ASSERT_NE(dep, nullptr);
  EXPECT_EQ(t.InsertDependency("main.gs", 3, 4, 1), nullptr);
  t.LeaveScope();
  EXPECT_EQ(t.Find(std::string_view("main.gs")), dep);
  EXPECT_EQ(dep->level, 0);
  t.Reset();
  EXPECT_EQ(t.Find(std::string_view("main.gs")), nullptr);
}

TEST(GSSymbols, SignatureAndLookupKey) {
  GSStringPool pool;
  const char* foo = pool.Intern("Foo");
  GSParameterType params[] = {{GS_TYPE_INT, nullptr}, {GS_TYPE_OBJECT_ARRAY, foo}, {GS_TYPE_OBJECT, nullptr}};
  EXPECT_STREQ(GSFunctionSignature(pool, GS_TYPE_OBJECT, foo, "Cls", "f", params, 3),
               "$Foo@Cls::f(int,Foo[],object)");
  EXPECT_STREQ(GSFunctionSignature(pool, GS_TYPE_VOID, nullptr, "Cls", "g", params, 0), "$void@Cls::g()");
  EXPECT_STREQ(GSFunctionKey(pool, "f", params, 2), "::f(int,Foo[])");
}

}  // namespace
