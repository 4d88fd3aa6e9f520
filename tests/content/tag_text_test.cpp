// Text form: the writer's layout and quoting, the reader's look-ahead and value rules.
#include <gtest/gtest.h>

#include "content/chump.h"
#include "content/tag_container.h"

using namespace QETLib;

namespace {

TagContainer Read(std::string_view text) {
  TagContainer c;
  ReadTextFromString(c, text);
  return c;
}

const std::string kBom = "\xEF\xBB\xBF";

}  // namespace

TEST(TagText, WriterLayout) {
  TagContainer c;
  c.SetString("username", "Jo \"Rail\"");
  c.SetKUID("kuid", KUID{10, 20, 0});
  c.SetFloatList("pos", {1, 2.5f});
  c.SetString("empty", "");
  TagContainer mesh;
  mesh.SetInt("lod", 3);
  TagContainer deeper;
  deeper.SetInt("x", 1);
  mesh.SetContainer("deeper", deeper);
  c.SetContainer("mesh-table", mesh);
  std::string expected = kBom + "\r\n" + "username" + std::string(32, ' ') + "\"Jo 'Rail'\"\r\n" + "kuid" +
                         std::string(36, ' ') + "<kuid:10:20>\r\n" + "pos" + std::string(37, ' ') + "1,2.5\r\n" +
                         "empty" + std::string(35, ' ') + "\r\n" + "\r\n" + "mesh-table\r\n{\r\n" + "  lod" +
                         std::string(35, ' ') + "3\r\n" + "  \r\n" + "  deeper\r\n  {\r\n" + "    x" +
                         std::string(35, ' ') + "1\r\n" + "  }\r\n" + "}\r\n";
  EXPECT_EQ(WriteTextToString(c), expected);
}

TEST(TagText, WriterQuotesListsOnlyWithBlanksAndPadsLongNames) {
  TagContainer c;
  c.SetString(std::string(45, 'n'), "v");
  TagContainer first;
  first.SetInt("a", 1);
  c.SetContainer("c", first);  // not first: blank line before
  TagContainer d;
  d.SetContainer("first", first);  // first tag of its container: no blank line
  std::string text = WriteTextToString(d);
  EXPECT_EQ(text, kBom + "\r\nfirst\r\n{\r\n  a" + std::string(37, ' ') + "1\r\n}\r\n");
  EXPECT_NE(WriteTextToString(c).find(std::string(45, 'n') + " \"v\""), std::string::npos);
}

TEST(TagText, ValueKinds) {
  TagContainer c = Read(
      "Float 3.5\n"
      "int -2\n"
      "list 1, 2, 3\n"
      "text 1a\n"
      "quoted \"a \"\"b\n"
      "kuid <KUID2:1:2:3>\n"
      "twokuids \"<kuid:1:2> <kuid:3:4>\"\n"
      "nullkuid <NULL>\n"
      "bare\n"
      "emptyq \"\"\n"
      "trail 5 \n"
      "neg -\n");
  EXPECT_EQ(c.GetChunk("float")->GetType(), kTypeFloat);
  EXPECT_FLOAT_EQ(c.GetFloat("float"), 3.5f);
  EXPECT_EQ(c.GetChunk("int")->GetType(), kTypeInt);
  EXPECT_EQ(c.GetInt("int"), -2);
  EXPECT_EQ(c.GetFloatList("list"), (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(c.GetChunk("text")->GetType(), kTypeString);
  EXPECT_EQ(c.GetText("text"), "1a");
  EXPECT_EQ(c.GetText("quoted"), "a ");
  EXPECT_EQ(c.GetChunk("kuid")->GetType(), kTypeKUID);
  EXPECT_EQ(c.GetKUID("kuid"), (KUID{1, 2, 3}));
  EXPECT_EQ(c.GetChunk("twokuids")->GetType(), kTypeString);
  EXPECT_EQ(c.GetChunk("nullkuid")->GetType(), kTypeKUID);
  EXPECT_TRUE(c.GetKUID("nullkuid", KUID{1, 1, 0}).IsNull());
  EXPECT_EQ(c.GetChunk("bare")->GetType(), kTypeNull);
  EXPECT_EQ(c.GetChunk("emptyq")->GetType(), kTypeString);
  EXPECT_EQ(c.GetChunk("trail")->GetType(), kTypeInt);
  EXPECT_EQ(c.GetChunk("neg")->GetType(), kTypeInt);
  // "a ""b": the quoted value ends at the second quote, the next word is a tag name.
  EXPECT_FALSE(IsNullChunk(c.GetChunk("\"b")));
  EXPECT_EQ(c.GetChunk("\"b")->GetType(), kTypeNull);
}

TEST(TagText, NestedContainersAndBraces) {
  TagContainer c = Read(
      "Outer\r\n"
      "{\r\n"
      "  A 1\r\n"
      "  inner {\r\n"
      "    b \"x\"\r\n"
      "  }\r\n"
      "}\r\n"
      "after 2\r\n"
      "unclosed {\r\n"
      "  z 3\r\n");
  TagContainer outer = c.GetContainer("outer");
  EXPECT_EQ(outer.GetInt("a"), 1);
  EXPECT_EQ(outer.GetContainer("inner").GetText("b"), "x");
  EXPECT_EQ(c.GetInt("after"), 2);
  EXPECT_EQ(c.GetContainer("unclosed").GetInt("z"), 3);
}

TEST(TagText, RepeatedNameReplacesAndMovesToTheEnd) {
  TagContainer c = Read("a 1\nb 2\na 3\n");
  ASSERT_EQ(c.TagCount(), 2u);
  EXPECT_EQ(c.TagName(0).View(), "b");
  EXPECT_EQ(c.TagName(1).View(), "a");
  EXPECT_EQ(c.GetInt("a"), 3);
}

TEST(TagText, QuotedLineBreaksAndEscapes) {
  TagContainer c = Read("q \"1\r2\n3\r\n4\n\r5\"\nu a\\nb c\n; a comment line\n");
  EXPECT_EQ(c.GetText("q"), "1\r\n2\r\n3\r\n4\r\n5");
  EXPECT_EQ(c.GetText("u"), "a\r\nb c");
  EXPECT_EQ(c.GetText(";"), "a comment line");
}

TEST(TagText, NamesAreLoweredAndCutAt511) {
  std::string long_name(600, 'N');
  TagContainer c = Read(long_name + " 1\n");
  EXPECT_EQ(c.GetInt(std::string(511, 'n')), 1);
}

TEST(TagText, NumbersBeyondTheirLimitAreCut) {
  TagContainer c = Read("f 1." + std::string(40, '5') + "9\n" + "i 12345678901234567890123456789012345\n");
  EXPECT_EQ(c.GetChunk("f")->GetType(), kTypeFloat);
  EXPECT_EQ(c.GetChunk("i")->GetType(), kTypeInt);
  EXPECT_EQ(c.GetInt("i"), INT32_MAX);
}

TEST(TagText, CodePageConversionOnlyWithoutTheMark) {
  std::string line = "name \"caf\xE9\"\r\n";
  EXPECT_EQ(Read(line).GetText("name"), "caf\xC3\xA9");
  EXPECT_EQ(Read(kBom + line).GetText("name"), "caf\xE9");
  TagContainer c;
  ReadTextFromString(c, line, true);
  EXPECT_EQ(c.GetText("name"), "caf\xE9");
}

TEST(TagText, RoundTripThroughChump) {
  std::string text = kBom +
                     "\r\nkuid <kuid2:1:2:3>\r\nusername \"a b\"\r\nempty\r\nlist 1,2\r\nmesh\r\n{\r\n  lod 1\r\n}\r\n";
  TagContainer c = Read(text);
  TBuffer chump;
  ASSERT_TRUE(c.WriteChump(chump));
  chump.Seek(0, TStream::kFromStart);
  TagContainer back;
  ASSERT_TRUE(back.ReadChump(chump));
  std::string written = WriteTextToString(back);
  EXPECT_EQ(written, WriteTextToString(c));
  EXPECT_EQ(WriteTextToString(Read(written)), written);
  EXPECT_NE(written.find("kuid" + std::string(36, ' ') + "<kuid2:1:2:3>\r\n"), std::string::npos);
  EXPECT_NE(written.find("empty" + std::string(35, ' ') + "\r\n"), std::string::npos);
}

TEST(TagText, MalformedTextGivesWhatCouldBeRead) {
  EXPECT_EQ(Read("a \"never closed\nb 2").GetText("a"), "never closed\r\nb 2");
  EXPECT_EQ(Read("}a 1").TagCount(), 0u);
  EXPECT_EQ(Read("").TagCount(), 0u);
  EXPECT_EQ(Read(std::string(100000, '{')).TagCount(), 1u);
}
