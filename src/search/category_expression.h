// The small language that tests ";"-separated classification codes: category expressions
// ("CMP;MESH|BD;-ACTV"), single code terms, and the keyword variant of the expressions.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace QETLib {

// True when the code list (codes separated by ";", ended by "|" or the end of the text)
// holds the term. The term runs to the end, ";" or "|"; each leading "-" negates once more.
// Codes are compared byte for byte.
bool ContainsCode(std::string_view code_list, std::string_view term);

// True when some "|"-separated alternative of the expression has every ";"-separated term
// held by the code list. An empty expression, or an empty alternative, matches.
bool MatchesCategory(std::string_view expression, std::string_view code_list);

// True when some "|"-separated alternative has every non-empty ";"-separated keyword occurring
// in the keyword text (case-sensitive). An empty expression matches nothing.
bool MatchesKeywords(std::string_view keyword_text, std::string_view expression);

// A category expression taken apart once, for testing many code lists: the same answers as
// MatchesCategory, without reading the expression again for every list.
class CompiledCategoryExpression {
 public:
  explicit CompiledCategoryExpression(std::string_view expression);
  bool Matches(std::string_view code_list) const;

 private:
  struct Term {
    std::string code;  // empty: a term that no list contains
    bool negate = false;
  };
  std::string expression_;
  bool matches_all_ = false;
  std::vector<std::vector<Term>> alternatives_;
};

// The name test of searches and filters, ignoring letter case: equality in exact mode,
// otherwise the text occurring anywhere in the name.
bool NameMatches(std::string_view display_name, std::string_view text, bool exact);

}  // namespace QETLib
