// Category expressions, code terms and keyword expressions.
#include "search/category_expression.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace QETLib {
namespace {

struct Case {
  const char* expression;
  const char* list;
  bool matches;
};

TEST(MatchesCategory, Table) {
  const Case cases[] = {
      // The sample expression against typical classes.
      {"CMP;MESH|BD;-ACTV|VE|SCEN", "CMP;MESH", true},
      {"CMP;MESH|BD;-ACTV|VE|SCEN", "BD;IND", true},
      {"CMP;MESH|BD;-ACTV|VE|SCEN", "VE", true},
      {"CMP;MESH|BD;-ACTV|VE|SCEN", "BD;IND;ACTV", false},
      {"CMP;MESH|BD;-ACTV|VE|SCEN", "CMP", false},
      // Whole codes only, byte for byte.
      {"TR", "TR;TV;LOCO", true},
      {"TR", "TRX;TV", false},
      {"TV", "TR;TV;LOCO", true},
      {"tr", "TR;TV;LOCO", false},
      {"LOCO", "TR;TV;LOCO|XX", true},
      {"XX", "TR;TV;LOCO|XX", false},  // the list ends at "|"
      // Negation, repeated.
      {"-ACTV", "", true},
      {"-ACTV", "BD;ACTV", false},
      {"--ACTV", "BD;ACTV", true},
      {"--ACTV", "BD", false},
      {"---ACTV", "BD;ACTV", false},
      // Runs of ";" and empty alternatives.
      {";;TR;;;TV;;", "TR;TV", true},
      {";;TR;;;TV;;", "TR", false},
      {"XX||YY", "TR", true},
      {"|XX", "TR", true},
      {"XX|", "TR", false},
      {"XX|;;", "TR", true},
      {"", "TR", true},
      {"", "", true},
      {"TR", "", false},
      // A term that is only a minus negates an empty term (never contained).
      {"TR;-", "TR", true},
      {"-", "", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesCategory(c.expression, c.list), c.matches) << c.expression << " vs " << c.list;
}

TEST(CompiledCategoryExpression, AgreesWithTheDirectTest) {
  // Every expression of up to six characters over a small alphabet, against a few lists.
  const char alphabet[] = {'A', 'B', ';', '|', '-'};
  const char* lists[] = {"", "A", "B", "A;B", "B;A;C", "AB", ";A", "A|B", "C"};
  std::string expression;
  std::function<void(size_t)> all = [&](size_t depth) {
    CompiledCategoryExpression compiled(expression);
    for (const char* list : lists)
      ASSERT_EQ(compiled.Matches(list), MatchesCategory(expression, list)) << expression << " vs " << list;
    if (depth == 6) return;
    for (char c : alphabet) {
      expression.push_back(c);
      all(depth + 1);
      expression.pop_back();
    }
  };
  all(0);
}

TEST(ContainsCode, TermEndsAtSeparators) {
  EXPECT_TRUE(ContainsCode("TR;TV", "TV;LOCO"));
  EXPECT_TRUE(ContainsCode("TR;TV", "TR|XX"));
  EXPECT_FALSE(ContainsCode("TR;TV", ""));
  EXPECT_FALSE(ContainsCode("TR;TV", "|TR"));
  EXPECT_FALSE(ContainsCode("TR;;TV", ";"));  // an empty term never matches an empty code
  EXPECT_TRUE(ContainsCode("", "-"));
  EXPECT_FALSE(ContainsCode("TRX", "TR"));
  EXPECT_FALSE(ContainsCode("TR", "TRX"));
}

TEST(MatchesKeywords, Table) {
  struct KeywordCase {
    const char* text;
    const char* expression;
    bool matches;
  };
  const KeywordCase cases[] = {
      {"steam locomotive tender", "steam;tender", true},
      {"steam locomotive tender", "steam;diesel", false},
      {"steam locomotive tender", "diesel|tender", true},
      {"steam locomotive tender", "Steam", false},  // case-sensitive
      {"steam locomotive tender", "loco", true},    // substrings count
      {"steam locomotive tender", "", false},
      {"", "", false},
      {"anything", ";;", true},
      {"anything", "diesel|", true},
      {"anything", "diesel;;|;", true},
  };
  for (const KeywordCase& c : cases)
    EXPECT_EQ(MatchesKeywords(c.text, c.expression), c.matches) << c.expression << " in " << c.text;
}

TEST(NameMatches, ExactAndContained) {
  EXPECT_TRUE(NameMatches("Big Boy 4014", "big boy 4014", true));
  EXPECT_FALSE(NameMatches("Big Boy 4014", "big boy", true));
  EXPECT_TRUE(NameMatches("Big Boy 4014", "BOY", false));
  EXPECT_FALSE(NameMatches("Big Boy 4014", "girl", false));
}

}  // namespace
}  // namespace QETLib
