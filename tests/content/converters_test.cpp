// Value conversions through the registered converters and the numeric-text rule.
#include <gtest/gtest.h>

#include "content/converters.h"
#include "content/tag_container.h"

using namespace QETLib;

TEST(Converters, GettersConvertThroughText) {
  TagContainer c;
  c.SetInt("seven", 7);
  c.SetString("abc", "abc");
  c.SetString("onefive", "1.5");
  c.SetString("exp", "1.5e+2");
  c.SetKUID("kuid", KUID{1, 2, 0});
  c.SetFloatList("floats", {2.5f, 3});
  c.SetString("ktext", "<kuid:5:6>");
  c.AddEmptyTag("none");
  EXPECT_FLOAT_EQ(c.GetFloat("seven", -1), 7.0f);
  EXPECT_EQ(c.GetText("seven"), "7");
  EXPECT_EQ(c.GetInt("abc", -99), -99);
  EXPECT_EQ(c.GetInt("onefive", -99), 1);
  EXPECT_FLOAT_EQ(c.GetFloat("exp"), 150.0f);
  EXPECT_EQ(c.GetInt("kuid", -99), -99);
  EXPECT_EQ(c.GetText("kuid"), "<kuid:1:2>");
  EXPECT_EQ(c.GetText("floats"), "2.5,3");
  EXPECT_EQ(c.GetInt("floats", -99), -99);  // "2.5,3" is not a number
  c.SetFloat("one", 2.5f);
  EXPECT_EQ(c.GetInt("one", -99), 2);
  EXPECT_EQ(c.GetKUID("ktext"), (KUID{5, 6, 0}));
  EXPECT_EQ(c.GetInt("none", 4), 4);
  EXPECT_EQ(c.GetText("none"), "");
  EXPECT_EQ(c.GetInt("missing", 4), 4);
  EXPECT_TRUE(c.GetBool("seven"));
  EXPECT_FALSE(c.HasTag("none"));
  EXPECT_TRUE(c.HasTag("seven"));
}

TEST(Converters, NumericText) {
  struct {
    const char* text;
    bool numeric;
  } cases[] = {{"12", true},    {"-12", true},   {"1.5", true},     {"1.5e+3", true}, {"1.5e-3", true},
               {"7 \t", true},  {"", false},     {"-", false},      {"1.2.3", false}, {"1e+3", false},
               {"1.5e3", false}, {"1.5e+", false}, {"abc", false}, {" 1", false},    {"1,2", false}};
  for (const auto& c : cases) EXPECT_EQ(IsNumericText(c.text), c.numeric) << c.text;
}

TEST(Converters, SameTypeSharesAndNullGivesNone) {
  DataRef d = StringBlock("x");
  EXPECT_EQ(ConvertValue(kTypeString, d, kTypeString), d);
  EXPECT_FALSE(ConvertValue(kTypeNull, d, kTypeString));
  EXPECT_FALSE(ConvertValue(kTypeBinary, d, kTypeString));
  EXPECT_FALSE(ConvertValue(kTypeFloat, ACSRawDataCore::Copy("ab", 2), kTypeString));
}
