#include <gtest/gtest.h>

#include "frontend/batch.h"

using QETLib::CutBatchLine;
using QETLib::CutLineTerminator;
using Args = std::vector<std::string>;

TEST(BatchCut, Terminators) {
  EXPECT_EQ(CutLineTerminator("version\r\n"), "version");
  EXPECT_EQ(CutLineTerminator("\r\n"), "\r");  // the first character is never examined
  EXPECT_EQ(CutLineTerminator("\n"), "\n");
  EXPECT_EQ(CutLineTerminator("a\rb\n"), "a");
  EXPECT_EQ(CutLineTerminator(std::string_view("ab\0cd\n", 6)), "ab");
}

TEST(BatchCut, Arguments) {
  EXPECT_EQ(CutBatchLine("version echo"), (Args{"version", "echo"}));
  EXPECT_EQ(CutBatchLine("\"installfrompath\" \"/a b/c\""), (Args{"installfrompath", "/a b/c"}));
  EXPECT_EQ(CutBatchLine("a  b"), (Args{"a", "", "b"}));
  EXPECT_EQ(CutBatchLine("  a"), (Args{"", "a"}));
  EXPECT_EQ(CutBatchLine("\"a\"xyz b"), (Args{"a", "b"}));       // text after a closing quote is dropped
  EXPECT_EQ(CutBatchLine("ab\"c d\" e"), (Args{"c d", "e"}));   // a quote inside a word restarts it
  EXPECT_EQ(CutBatchLine("\"unclosed arg"), (Args{}));
  EXPECT_EQ(CutBatchLine("\r"), (Args{"\r"}));
  EXPECT_EQ(CutBatchLine(""), (Args{""}));
}
