#include "search/category_expression.h"

#include "engine/text.h"

namespace QETLib {

namespace {

bool EndsTerm(char c) { return c == ';' || c == '|'; }

// Length of the term at the start of `text`.
size_t TermLength(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && !EndsTerm(text[n])) ++n;
  return n;
}

}  // namespace

bool ContainsCode(std::string_view code_list, std::string_view term) {
  bool negate = false;
  size_t start = 0;
  while (start < term.size() && term[start] == '-') {
    negate = !negate;
    ++start;
  }
  const std::string_view code = term.substr(start, TermLength(term.substr(start)));
  bool found = false;
  // An empty term (nothing left, or a separator straight away) is never contained.
  if (!code.empty()) {
    size_t pos = 0;
    while (pos < code_list.size() && code_list[pos] != '|') {
      size_t end = pos;
      while (end < code_list.size() && !EndsTerm(code_list[end])) ++end;
      if (code_list.substr(pos, end - pos) == code) {
        found = true;
        break;
      }
      if (end >= code_list.size() || code_list[end] == '|') break;
      pos = end + 1;
    }
  }
  return negate ? !found : found;
}

bool MatchesCategory(std::string_view expression, std::string_view code_list) {
  const size_t n = expression.size();
  if (n == 0) return true;
  size_t pos = 0;
  for (;;) {
    // At the start of an alternative: one that is empty matches everything.
    if (expression[pos] == '|') return true;
    bool holds = true;
    for (;;) {
      while (pos < n && expression[pos] == ';') ++pos;
      if (pos >= n || expression[pos] == '|') break;
      if (!ContainsCode(code_list, expression.substr(pos))) {
        holds = false;
        break;
      }
      while (pos < n && !EndsTerm(expression[pos])) ++pos;
    }
    if (holds) return true;
    while (pos < n && expression[pos] != '|') ++pos;
    if (pos >= n) return false;
    ++pos;  // past the "|"
    if (pos >= n) return false;  // no alternative left
  }
}

bool MatchesKeywords(std::string_view keyword_text, std::string_view expression) {
  if (expression.empty()) return false;
  size_t pos = 0;
  for (;;) {
    size_t alt_end = expression.find('|', pos);
    if (alt_end == std::string_view::npos) alt_end = expression.size();
    const std::string_view alternative = expression.substr(pos, alt_end - pos);
    bool holds = true;
    size_t k = 0;
    while (holds && k <= alternative.size()) {
      size_t kw_end = alternative.find(';', k);
      if (kw_end == std::string_view::npos) kw_end = alternative.size();
      const std::string_view keyword = alternative.substr(k, kw_end - k);
      if (!keyword.empty() && keyword_text.find(keyword) == std::string_view::npos) holds = false;
      k = kw_end + 1;
    }
    if (holds) return true;
    if (alt_end >= expression.size()) return false;
    pos = alt_end + 1;
  }
}

CompiledCategoryExpression::CompiledCategoryExpression(std::string_view expression) : expression_(expression) {
  const size_t n = expression.size();
  if (n == 0) {
    matches_all_ = true;
    return;
  }
  // Mirrors MatchesCategory: alternatives start at 0 and after each "|" that is not the last
  // character; one starting with "|", or one without terms, matches every list.
  size_t pos = 0;
  for (;;) {
    if (expression[pos] == '|') {
      matches_all_ = true;
      return;
    }
    std::vector<Term> terms;
    for (;;) {
      while (pos < n && expression[pos] == ';') ++pos;
      if (pos >= n || expression[pos] == '|') break;
      Term term;
      while (pos < n && expression[pos] == '-') {
        term.negate = !term.negate;
        ++pos;
      }
      const size_t start = pos;
      while (pos < n && !EndsTerm(expression[pos])) ++pos;
      term.code = std::string(expression.substr(start, pos - start));
      terms.push_back(std::move(term));
    }
    if (terms.empty()) {
      matches_all_ = true;
      return;
    }
    alternatives_.push_back(std::move(terms));
    if (pos >= n) return;
    ++pos;  // past the "|"
    if (pos >= n) return;
  }
}

bool CompiledCategoryExpression::Matches(std::string_view code_list) const {
  if (matches_all_) return true;
  // The list's codes, up to its "|"; a list of very many codes takes the plain path.
  constexpr size_t kMaxCodes = 32;
  std::string_view codes[kMaxCodes];
  size_t count = 0;
  size_t pos = 0;
  while (pos < code_list.size() && code_list[pos] != '|') {
    size_t end = pos;
    while (end < code_list.size() && !EndsTerm(code_list[end])) ++end;
    if (count == kMaxCodes) return MatchesCategory(expression_, code_list);
    codes[count++] = code_list.substr(pos, end - pos);
    if (end >= code_list.size() || code_list[end] == '|') break;
    pos = end + 1;
  }
  for (const std::vector<Term>& terms : alternatives_) {
    bool holds = true;
    for (const Term& term : terms) {
      bool found = false;
      if (!term.code.empty())
        for (size_t i = 0; i < count && !found; ++i) found = codes[i] == term.code;
      if (found == term.negate) {
        holds = false;
        break;
      }
    }
    if (holds) return true;
  }
  return false;
}

bool NameMatches(std::string_view display_name, std::string_view text, bool exact) {
  if (exact) return Orb::EqualsIgnoreCase(display_name, text);
  return Orb::FindIgnoreCase(display_name, text) != std::string_view::npos;
}

}  // namespace QETLib
