// Scanner tests: token classes, longest match, comments, line counting and literal values.
#include <gtest/gtest.h>

#include "gamescript/gs_grammar.hpp"
#include "gamescript/gs_parse_context.h"
#include "gs_test_support.h"

namespace {

using namespace GSCompiler;

struct Tok {
  int token;
  int line;
};

std::vector<Tok> Scan(const std::string& text) {
  Utils::BlockMemory nodes;
  GSStringPool pool;
  std::vector<Tok> out;
  GSScanTokens(text, nodes, pool, [](void* user, int token, int line) {
    static_cast<std::vector<Tok>*>(user)->push_back(Tok{token, line});
  }, &out);
  return out;
}

std::vector<int> Tokens(const std::string& text) {
  std::vector<int> codes;
  for (const Tok& t : Scan(text)) codes.push_back(t.token);
  return codes;
}

TEST(GSLexer, TokenCodesFollowTheFixedNumbering) {
  EXPECT_EQ(KEYWORD_BREAK, 258);
  EXPECT_EQ(KEYWORD_ON, 296);
  EXPECT_EQ(IDENTIFIER, 297);
  EXPECT_EQ(CONSTANT_STRING, 302);
  EXPECT_EQ(SYMBOL_OP_DIM, 303);
  EXPECT_EQ(SYMBOL_NEQ, 311);
  EXPECT_EQ(SYMBOL_ILLEGAL, 312);
}

TEST(GSLexer, ClassifiesByLongestMatchThenEarliestRule) {
  struct Case {
    std::string text;
    std::vector<int> tokens;
  } cases[] = {
      {"while While whilex", {KEYWORD_WHILE, IDENTIFIER, IDENTIFIER}},
      {"inherited constructor _x1", {IDENTIFIER, IDENTIFIER, IDENTIFIER}},
      {"1. .5 1.5f 1.f", {CONSTANT_FLOAT, CONSTANT_FLOAT, CONSTANT_FLOAT, CONSTANT_FLOAT}},
      {"5f", {CONSTANT_INT, IDENTIFIER}},
      {"1.5F", {CONSTANT_FLOAT, IDENTIFIER}},
      {"1e5", {CONSTANT_INT, IDENTIFIER}},
      {"0xG", {CONSTANT_INT, IDENTIFIER}},
      {"0x1f 0XAB 007", {CONSTANT_HEX, CONSTANT_HEX, CONSTANT_INT}},
      {"1.5.5", {CONSTANT_FLOAT, CONSTANT_FLOAT}},
      {"[ \t\n ] []", {SYMBOL_OP_DIM, SYMBOL_OP_DIM}},
      {"[ x ]", {'[', IDENTIFIER, ']'}},
      {"&& || >>= <<", {'&', '&', '|', '|', SYMBOL_RIGHT_SHIFT, '=', SYMBOL_LEFT_SHIFT}},
      {"++ -- <= >= == != !", {SYMBOL_INC, SYMBOL_DEC, SYMBOL_LTE, SYMBOL_GTE, SYMBOL_EQ, SYMBOL_NEQ, '!'}},
      {"@ # $ \x80", {SYMBOL_ILLEGAL, SYMBOL_ILLEGAL, SYMBOL_ILLEGAL, SYMBOL_ILLEGAL}},
      {"\xff\xff{\xf7", {SYMBOL_ILLEGAL, SYMBOL_ILLEGAL, '{', SYMBOL_ILLEGAL}},
      {std::string("a\0b", 3), {IDENTIFIER, SYMBOL_ILLEGAL, IDENTIFIER}},
      {"\"a\xff\"", {CONSTANT_STRING}},
      {"\"abc", {SYMBOL_ILLEGAL, IDENTIFIER}},
      {"'x", {SYMBOL_ILLEGAL, IDENTIFIER}},
      {"L\"s\" L'c' L", {CONSTANT_STRING, CONSTANT_CHAR, IDENTIFIER}},
      {"'' ", {SYMBOL_ILLEGAL, SYMBOL_ILLEGAL}},
      {"a // x */ y\nb", {IDENTIFIER, IDENTIFIER}},
      {"a /* x /* y */ b */", {IDENTIFIER, IDENTIFIER, '*', '/'}},
      {"a /* never closed", {IDENTIFIER}},
      {"a/**/b/***/c", {IDENTIFIER, IDENTIFIER, IDENTIFIER}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(GSLexer, CountsLinesInsideMultiLineTokens) {
  auto toks = Scan("a\n\"x\ny\nz\" b /* \n\n */ c\r\n[\n] d");
  ASSERT_EQ(toks.size(), 6u);
  EXPECT_EQ(toks[0].line, 1);
  EXPECT_EQ(toks[1].line, 4);  // the line count advances past the string's newlines
  EXPECT_EQ(toks[2].line, 4);
  EXPECT_EQ(toks[3].line, 6);
  EXPECT_EQ(toks[4].token, SYMBOL_OP_DIM);
  EXPECT_EQ(toks[4].line, 8);
}

TEST(GSLexer, LiteralValues) {
  EXPECT_EQ(GSDecimalValue("0042", 4), 42);
  EXPECT_EQ(GSDecimalValue("4294967296", 10), 0);  // narrowed like the C library's atoi
  EXPECT_EQ(GSHexValue("0xFFFFFFFF", 10), 0x7FFFFFFF);
  EXPECT_EQ(GSHexValue("0x7fffffff", 10), 0x7FFFFFFF);
  EXPECT_EQ(GSHexValue("0x10", 4), 16);
  EXPECT_EQ(GSHexValue("0xFFFFFFFFFFFFFFFFFFFF", 22), 0x7FFFFFFF);
  EXPECT_FLOAT_EQ(GSFloatValue("1.f", 3), 1.0f);
  EXPECT_FLOAT_EQ(GSFloatValue(".5", 2), 0.5f);
}

TEST(GSLexer, Unescaping) {
  struct Case {
    std::string token;
    std::string value;
  } cases[] = {
      {"\"a\\tb\\n\"", "a\tb\n"},
      {"\"\\l\\q\\\\\\\"\\'\"", "lq\\\"'"},
      {"\"\\v\\r\\f\\b\\a\"", "\v\r\f\b\a"},
      {"\"ab\\0cd\"", "ab"},
      {"L\"wide\"", "wide"},
      {"'ab'", "ab"},
      {"\"\"", ""},
      {"x\"", ""},  // no opening quote after the optional L: empty
  };
  for (const Case& c : cases) {
    char out[2049];
    size_t n = GSUnescape(c.token.data(), c.token.size(), out);
    EXPECT_EQ(std::string(out, n), c.value) << c.token;
  }
  std::string longText = "\"" + std::string(3000, 'x') + "\"";
  char out[2049];
  EXPECT_EQ(GSUnescape(longText.data(), longText.size(), out), 2047u);  // 2048 chars kept, quote skipped
}

TEST(GSLexer, CharacterConstantIsFirstByteSigned) {
  EXPECT_EQ(gstest::Body("x = 'ab';"), "(=:d x 97)");
  EXPECT_EQ(gstest::Body("x = '\\n';"), "(=:d x 10)");
  EXPECT_EQ(gstest::Body("x = '\xE9';"), "(=:d x -23)");
  EXPECT_EQ(gstest::Body("x = '\\0';"), "(=:d x 0)");
}

}  // namespace
