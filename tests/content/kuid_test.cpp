#include "content/kuid.h"

#include <gtest/gtest.h>

using QETLib::KUID;
using QETLib::Parse;
using QETLib::ToBracketString;

namespace {

struct ParseCase {
  const char* text;
  bool strict;
  int user, content, version;  // expected
};

constexpr int N = -1, C = -1, V = 127;  // the null KUID's fields

const ParseCase kParseCases[] = {
    {"<kuid:123:456>", true, 123, 456, 0},
    {"<KUID2:123:456:3>", true, 123, 456, 3},
    {"<kuid2:123:456:3>", false, 123, 456, 3},
    {"<kuid2:123:456:0>", true, 123, 456, 0},
    {"<kuid:-5:7>", true, -5, 7, 127},
    {"<kuid2:-5:7:127>", false, N, C, V},      // negative user refused in the long form
    {"<kuid2:-5:7:127>", true, N, C, V},
    {"<kuid2:33554432:7:1>", false, N, C, V},  // user beyond 25 bits
    {"<kuid2:33554431:7:1>", false, 33554431, 7, 1},
    {"<kuid2:1:7:128>", false, N, C, V},       // version beyond 7 bits
    {"123:456", false, 123, 456, 0},
    {"123:456", true, N, C, V},
    {"-3:456", false, -3, 456, 127},
    {"<123:456>", false, 123, 456, 0},
    {"<123:456", false, 123, 456, 0},
    {"<123:456>>", false, N, C, V},
    {"456", false, -1, 456, 127},
    {"456", true, N, C, V},
    {"<kuid:12a:34>", true, N, C, V},
    {"<kuid:12a:34>", false, 12, -1, 0},
    {"<NULL>", false, N, C, V},
    {"<null>", true, N, C, V},
    {"", false, N, C, V},
    {"kuid:5:6", true, 5, 6, 0},
    {"kuid2:5:6:7", true, 5, 6, 7},
    {"KUID2:5:6:7", false, 5, 6, 7},
    {"kuid2:-5:6:7", false, N, C, V},
    {"kuid:x5:6", true, N, C, V},
    {"<kuid2:1:2:-3>", true, N, C, V},         // strict: no minus in the long form
    {"<kuid2:1:2:3", true, N, C, V},           // strict: the closing bracket is required
    {"<kuid2:1:2:3", false, 1, 2, 3},
    {"<kuid:-5:7>", false, -5, 7, 127},
    {"<kuid:-33554433:7>", false, N, C, V},
    {"<kuid:1:-7>", true, N, C, V},            // strict: no minus before the content id
    {"<kuid:1:-7>", false, 1, -7, 0},
    {"1:2:3", false, N, C, V},                 // two colons: not the bare form
    {"abc", false, N, C, V},
    {"--5", false, N, C, V},
    {"<kuid:1:99999999999>", false, 1, 2147483647, 0},
};

TEST(KuidParse, AllForms) {
  for (const ParseCase& c : kParseCases) {
    KUID k = Parse(c.text, c.strict);
    EXPECT_EQ(k.user, c.user) << c.text << (c.strict ? " strict" : " lenient");
    EXPECT_EQ(k.content, c.content) << c.text << (c.strict ? " strict" : " lenient");
    EXPECT_EQ(k.version, c.version) << c.text << (c.strict ? " strict" : " lenient");
  }
}

TEST(KuidFormat, TextForms) {
  EXPECT_EQ(ToBracketString(Parse("<kuid:123:456>", true)), "<kuid:123:456>");
  EXPECT_EQ(ToBracketString(Parse("<KUID2:123:456:3>", true)), "<kuid2:123:456:3>");
  EXPECT_EQ(ToBracketString(Parse("<kuid2:123:456:0>", true)), "<kuid:123:456>");
  EXPECT_EQ(ToBracketString(Parse("<kuid:-5:7>", true)), "<kuid:-5:7>");
  EXPECT_EQ(ToBracketString(Parse("456", false)), "<kuid:-1:456>");
  EXPECT_EQ(ToBracketString(KUID::Null()), "<NULL>");
  EXPECT_EQ(QETLib::ToShortString(KUID::Null()), "NULLKUID");
  EXPECT_EQ(QETLib::ToWordString(KUID::Null()), "NULLKUID");
  EXPECT_EQ(QETLib::ToShortString(KUID{1, 2, 0}), "1:2");
  EXPECT_EQ(QETLib::ToShortString(KUID{1, 2, 3}), "1:2:3");
  EXPECT_EQ(QETLib::ToWordString(KUID{1, 2, 0}), "kuid 1 2");
  EXPECT_EQ(QETLib::ToWordString(KUID{1, 2, 3}), "kuid2 1 2 3");
  EXPECT_EQ(QETLib::ToGenerateString(KUID{-2, 1001, 127}), "<KUID2:-2:1001:127>");
  EXPECT_EQ(QETLib::ToGenerateString(KUID{5, -1, 1}), "<KUID2:5:4294967295:1>");
  // A negative user with a version other than 127 is versioned and prints the long form.
  EXPECT_EQ(ToBracketString(KUID{-5, 7, 3}), "<kuid2:-5:7:3>");
}

TEST(KuidBinary, PackedWordAndByteForms) {
  KUID minus_one{-1, 5, 127};
  EXPECT_EQ(minus_one.PackedWord(), 0xFFFFFFFFu);
  int32_t user = 0, version = 0;
  KUID::UnpackWord(0xFFFFFFFFu, user, version);
  EXPECT_EQ(user, -1);
  EXPECT_EQ(version, 127);

  for (KUID k : {KUID{123, 456, 3}, KUID{-16777216, -9, 127}, KUID{16777215, 0x7FFFFFFF, 0}, KUID::Null()}) {
    uint8_t bytes[8];
    k.ToChumpBytes(bytes);
    EXPECT_EQ(KUID::FromChumpBytes(bytes), k);
    k.ToStreamBytes(bytes);
    EXPECT_EQ(KUID::FromStreamBytes(bytes), k);
  }
  uint8_t bytes[8];
  KUID{1, 2, 3}.ToChumpBytes(bytes);
  EXPECT_EQ(bytes[0], 1);     // packed word first: user in the low bits
  EXPECT_EQ(bytes[3], 3 << 1);  // version in the top 7 bits
  EXPECT_EQ(bytes[4], 2);
  KUID{1, 2, 3}.ToStreamBytes(bytes);
  EXPECT_EQ(bytes[0], 2);     // content id first
  EXPECT_EQ(bytes[4], 1);
}

TEST(KuidHash, MatchesTheIndexFormula) {
  KUID k{7, 3, 2};
  EXPECT_EQ(k.Hash(), (3u << 5) ^ 2u ^ 7u);
  EXPECT_EQ(KUID::Null().Hash(), (0xFFFFFFFFu << 5) ^ 127u ^ 0xFFFFFFFFu);
}

}  // namespace
