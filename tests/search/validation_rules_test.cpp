// Catalogue selection and formatting, the findings handler, schema merging, and the rules
// as definitions invoke them.
#include <gtest/gtest.h>

#include "search/findings_handler.h"
#include "search/message_catalogue.h"
#include "search/schema.h"
#include "search/schema_container.h"
#include "search/validation_rules.h"
#include "search/validation_support.h"

namespace QETLib {
namespace {

using qtest::ConfigFromText;

TEST(MessageCatalogue, FileChosenByLanguage) {
  EXPECT_EQ(StringTableFileName("EN"), "stringtable.txt");
  EXPECT_EQ(StringTableFileName("HU"), "stringtable.txt");
  EXPECT_EQ(StringTableFileName("KR"), "stringtable.txt");
  EXPECT_EQ(StringTableFileName("de"), "stringtable-DE.txt");
  EXPECT_EQ(StringTableFileName("NL"), "stringtable-NL.txt");

  qtest::TempFolder folder;
  qtest::WriteText(folder.Path() + "/stringtable.txt", "0 \"plain\"\n2 \"two %d\"\n");
  qtest::WriteText(folder.Path() + "/stringtable-DE.txt", "0 \"deutsch\"\n");
  const std::string data = folder.Path() + "/";
  MessageCatalogue hungarian = LoadStringTable("HU", data);
  EXPECT_EQ(hungarian.GetMessage(0), "plain");
  EXPECT_EQ(hungarian.GetMessage(1), "");  // a gap
  EXPECT_EQ(hungarian.GetMessage(2), "two %d");
  EXPECT_EQ(hungarian.GetMessage(3), "");
  EXPECT_EQ(hungarian.GetMessage(-1), "");
  EXPECT_EQ(LoadStringTable("de", data).GetMessage(0), "deutsch");
  EXPECT_EQ(LoadStringTable("FR", data).Size(), 0u);  // no French file: empty texts
}

TEST(MessageCatalogue, FormatTrustsOnlyTheValuesGiven) {
  EXPECT_EQ(FormatMessage("Tag '%s' must hold %d numbers, but it holds %d.", {std::string("c"), 3LL, 2LL}),
            "Tag 'c' must hold 3 numbers, but it holds 2.");
  EXPECT_EQ(FormatMessage("%g to %.1f", {0.5, 2.0}), "0.5 to 2.0");
  EXPECT_EQ(FormatMessage("%d%%", {std::string("x")}), "x%");     // a text where a number was expected
  EXPECT_EQ(FormatMessage("%s and %s", {std::string("one")}), "one and %s");  // too few values
  EXPECT_EQ(FormatMessage("%n%p", {1LL}), "%n%p 1");              // unknown conversions stay text
  EXPECT_EQ(FormatMessage("plain", {std::string("extra")}), "plain extra");
  EXPECT_EQ(FormatMessage("%999999999s", {std::string("x")}), "x");  // absurd width ignored
}

TEST(FindingsHandler, SameContextAndTextKeptOnce) {
  FindingsHandler handler;
  EXPECT_TRUE(handler.Error("mesh-table/a", "Unknown tag 'x'."));
  EXPECT_FALSE(handler.Error("mesh-table/a", "Unknown tag 'x'."));
  EXPECT_TRUE(handler.Error("mesh-table/b", "Unknown tag 'x'."));
  EXPECT_TRUE(handler.Warning("mesh-table/a", "Other."));
  EXPECT_FALSE(handler.IsNewMessage("Other."));
  EXPECT_TRUE(handler.IsNewMessage("Never said."));
  EXPECT_EQ(handler.Count(Finding::kError), 2);
  EXPECT_EQ(handler.Findings().size(), 3u);
  handler.Clear();
  EXPECT_TRUE(handler.Findings().empty());
}

TEST(FindingsHandler, EchoPrintsThePrefixMessage) {
  MessageCatalogue catalogue;
  catalogue.Set(kMessageErrorPrefix, "Error: ");
  catalogue.Set(kMessageWarningPrefix, "Warning: ");
  SetCurrentCatalogue(catalogue);
  FindingsHandler handler;
  handler.SetEcho(true);
  testing::internal::CaptureStdout();
  handler.Error("a", "first");
  handler.Error("a", "first");  // dropped: not printed again
  handler.Warning("a", "second");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: first\nWarning: second\n");
  SetCurrentCatalogue(MessageCatalogue());
}

TEST(Schema, LaterFilesReplaceWholeDefinitions) {
  auto schema = Schema::FromContainers({
      ConfigFromText("thing { element { a { element-type \"string\" } } }\nkeep { element { k { } } }\n"),
      ConfigFromText("thing { element { b { element-type \"string\" } } }\n"),
      ConfigFromText("notadefinition \"text\"\n"),
  });
  ASSERT_NE(schema->Find("thing"), nullptr);
  EXPECT_EQ(schema->Find("thing")->flat.elements.count(Orb::PString("a")), 0u);
  EXPECT_EQ(schema->Find("thing")->flat.elements.count(Orb::PString("b")), 1u);
  EXPECT_NE(schema->Find("keep"), nullptr);
  EXPECT_EQ(schema->Find("notadefinition"), nullptr);
}

TEST(Schema, DeeplyNestedDefinitionsAreCutOff) {
  std::string text = "deep\n";
  for (int i = 0; i < 5000; ++i) text += "{\nelement\n{\nx\n";
  auto schema = Schema::FromContainers({ConfigFromText(text)});
  EXPECT_NE(schema->Find("deep"), nullptr);

  std::string chain;
  for (int i = 0; i < 20000; ++i) chain += "d" + std::to_string(i) + " { inherit \"d" + std::to_string(i + 1) + "\" }\n";
  auto chained = Schema::FromContainers({ConfigFromText(chain)});
  EXPECT_EQ(chained->Find("d19999")->flat_state, 2);
}

// A schema with one kind whose tags invoke the rules.
class RuleTest : public testing::Test {
 protected:
  void SetUp() override {
    schema_ = Schema::FromContainers({ConfigFromText(R"(
      thing
      {
        unknown "accept"
        element
        {
          range-tag { validation { range { min "0" max "1" } } }
          size-tag { validation { arraysize { size "3" } } }
          positive { validation { ispositive } }
          notzero { validation { isnotzero } }
          parent-tag { validation { notownparent } }
          own-tag { validation { mustbeownparent } }
          lamp { validation { mustbeinlightcontainer } }
          stocked { validation { mustbepaired } }
          needs-collate { validation { needcollatemeshes } }
          trackside-only { validation { istracksidetype } }
          soft
          {
            noerror 1
            validation { isnotzero }
          }
          entry { element-type "container" unknown "accept" container-type0 "thing" }
          lights { element-type "container" array-element "thing" }
        }
      })")});
  }

  // Validates `tags` under kind "thing"; returns the messages found.
  std::vector<Finding> Run(const std::string& tags, bool* ok = nullptr) {
    FindingsHandler findings;
    Container container(schema_, findings);
    TagContainer config = ConfigFromText("kind \"thing\"\n" + tags);
    const bool result = container.Validate(config);
    if (ok) *ok = result;
    return findings.Findings();
  }

  std::shared_ptr<const Schema> schema_;
};

TEST_F(RuleTest, Range) {
  bool ok = false;
  auto found = Run("quorix-build 3.0\nrange-tag \"0.5, 2\"\n", &ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].message, "message 158: range-tag 2 0 1");  // no catalogue installed
  EXPECT_TRUE(Run("range-tag \"0, 1\"\n", &ok).empty());
  EXPECT_TRUE(ok);
  Run("range-tag \"a\"\n", &ok);
  EXPECT_FALSE(ok);
}

TEST_F(RuleTest, ArraySizeFollowsTheBuild) {
  bool ok = true;
  auto found = Run("quorix-build 2.9\nsize-tag \"1, 2\"\n", &ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].message, "message 198: size-tag 3 2");
  EXPECT_TRUE(Run("quorix-build 2.8\nsize-tag \"1, 2\"\n", &ok).empty());
  EXPECT_TRUE(ok);
  EXPECT_TRUE(Run("quorix-build 3.1\nsize-tag \"1 2 3\"\n").empty());
}

TEST_F(RuleTest, SignRules) {
  struct Case {
    const char* tags;
    bool ok;
    int message;  // 0: no finding
  } cases[] = {
      {"positive 0\n", true, 0},        {"positive \"-1, 2\"\n", false, 156},
      {"positive \"x\"\n", false, 159}, {"positive \"\"\n", false, 159},
      {"notzero -3\n", true, 0},        {"notzero \"1, 0\"\n", false, 157},
      {"notzero\n", false, 159},
  };
  for (const Case& c : cases) {
    bool ok = !c.ok;
    auto found = Run(c.tags, &ok);
    EXPECT_EQ(ok, c.ok) << c.tags;
    if (c.message == 0) {
      EXPECT_TRUE(found.empty()) << c.tags;
    } else {
      ASSERT_EQ(found.size(), 1u) << c.tags;
      EXPECT_EQ(found[0].message.rfind("message " + std::to_string(c.message), 0), 0u) << found[0].message;
    }
  }
}

TEST_F(RuleTest, PlaceRules) {
  bool ok = false;
  EXPECT_TRUE(Run("entry { parent-tag \"other\" own-tag \"entry\" }\n", &ok).empty());
  EXPECT_TRUE(ok);
  // Unquoted values run to the end of the line, so each sits on a line of its own.
  auto found = Run("entry\n{\nparent-tag entry\nown-tag x\n}\n", &ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].message, "message 160: entry/parent-tag entry");
  EXPECT_EQ(found[1].message, "message 161: entry/own-tag x entry");

  EXPECT_TRUE(Run("lights { front { lamp \"1\" } }\n").empty());
  EXPECT_EQ(Run("lamp 1\n").at(0).message, "message 162: lamp");
  EXPECT_EQ(Run("entry { lamp \"1\" }\n").at(0).message, "message 163: entry/lamp");
}

TEST_F(RuleTest, ConfigurationRules) {
  EXPECT_TRUE(Run("entry\n{\nstocked 1\ninitial-count 4\n}\n").empty());
  EXPECT_TRUE(Run("entry\n{\nstocked 0\n}\n").empty());
  EXPECT_EQ(Run("entry\n{\nstocked 1\ninitial-count 0\n}\n").at(0).message, "message 164: entry/stocked 0");
  EXPECT_EQ(Run("entry\n{\nstocked 0\ninitial-count 2\n}\n").size(), 1u);

  EXPECT_TRUE(Run("collate-meshes 1\nneeds-collate 1\n").empty());
  EXPECT_EQ(Run("needs-collate 1\n").at(0).message, "message 155: needs-collate");

  EXPECT_TRUE(Run("trackside 2.5\ntrackside-only 1\n").empty());
  EXPECT_EQ(Run("trackside-only 1\n").at(0).message, "message 153: trackside-only");
  EXPECT_EQ(Run("type \"trackside\"\ntrackside-only 1\n").at(0).message, "message 154: trackside-only");
}

TEST_F(RuleTest, NoErrorTurnsFailuresIntoWarnings) {
  bool ok = false;
  auto found = Run("soft 0\n", &ok);
  EXPECT_TRUE(ok);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].severity, Finding::kWarning);
}

TEST(ReadNumberList, CommasAndBlanks) {
  std::vector<double> numbers;
  EXPECT_TRUE(ReadNumberList("1, 2 3,,4", numbers));
  EXPECT_EQ(numbers, (std::vector<double>{1, 2, 3, 4}));
  numbers.clear();
  EXPECT_FALSE(ReadNumberList("1, x", numbers));
  numbers.clear();
  EXPECT_FALSE(ReadNumberList("nan", numbers));
  EXPECT_TRUE(ReadNumberList("", numbers));
  EXPECT_TRUE(numbers.empty());
}

}  // namespace
}  // namespace QETLib
