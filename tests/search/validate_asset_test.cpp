// Validation of asset folders: the build checks, kind refinement, and the demo installation's
// schema and catalogue against realistic configurations.
#include "search/validate_asset.h"

#include <gtest/gtest.h>

#include "database/record_builder.h"
#include "search/findings_handler.h"
#include "search/validation_support.h"

namespace QETLib {
namespace {

// An asset folder with a config.txt, validated against a data folder.
class AssetFolderTest : public testing::Test {
 protected:
  std::string Asset(const std::string& config, const std::string& name = "asset") {
    const std::string folder = temp_.Path() + "/" + name;
    qtest::WriteText(folder + "/config.txt", config);
    return folder;
  }

  ValidationReport Check(const std::string& folder, const std::string& data_folder, ResultsLog* log = nullptr) {
    ValidationReport report;
    ValidateAsset(folder, log ? log : &log_, nullptr, &report, data_folder);
    return report;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& entry : log_.Entries()) out.push_back(entry.message);
    return out;
  }

  qtest::TempFolder temp_;
  ResultsLog log_;
};

// A data folder whose every kind is free-form, to see the build checks alone.
class BuildCheckTest : public AssetFolderTest {
 protected:
  void SetUp() override {
    data_ = temp_.Path() + "/data/";
    qtest::WriteText(data_ + "kind.txt",
                     "mesh { unknown \"accept\" }\n"
                     "bridge { unknown \"accept\" element { bridge-only { } } }\n"
                     "tunnel { unknown \"accept\" element { tunnel-only { } } }\n"
                     "double-track { unknown \"accept\" element { double-only { } } }\n"
                     "chunky-track { unknown \"accept\" }\n"
                     "scenery-trackside { unknown \"accept\" }\n");
  }
  std::string data_;
};

TEST_F(BuildCheckTest, FutureAssetsAreRejectedBeforeAnythingElse) {
  auto report = Check(Asset("kind \"nosuchkind\"\nquorix-build 3.2\n"), data_);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(Messages(), std::vector<std::string>{"$qet_future_asset"});
  EXPECT_EQ(log_.Errors(), 1);

  auto current = Check(Asset("kind \"mesh\"\nquorix-build 3.1\n", "b"), data_);
  EXPECT_TRUE(current.ok);
  auto edge = Check(Asset("kind \"mesh\"\nquorix-build 3.11\n", "c"), data_);
  EXPECT_FALSE(edge.ok);
}

TEST_F(BuildCheckTest, ObsoleteKindsWarnOnly) {
  auto water = Check(Asset("kind \"Water\"\nquorix-build 2.5\ngarbage 1\n"), data_);
  EXPECT_TRUE(water.ok);
  EXPECT_EQ(water.warnings, 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"$qet_obsolete_water"});
  auto skin = Check(Asset("kind \"paintshed-skin\"\n", "b"), data_);
  EXPECT_TRUE(skin.ok);
  EXPECT_EQ(Messages().back(), "$qet_obsolete_paintshed");
}

TEST_F(BuildCheckTest, SkippingOldContent) {
  const std::string folder = Asset("kind \"nosuchkind\"\nquorix-build 2.8\n");
  EXPECT_FALSE(Check(folder, data_).ok);
  CurrentValidationSettings().skip_old_content = true;
  EXPECT_TRUE(Check(folder, data_).ok);
  CurrentValidationSettings().skip_old_content = false;
}

TEST_F(BuildCheckTest, KindRefinement) {
  struct Case {
    const char* config;
    const char* kind;
  } cases[] = {
      {"kind \"bridge\"\nheight 0\n", "double-track"},
      {"kind \"bridge\"\n", "double-track"},
      {"kind \"bridge\"\nheight -4.5\n", "bridge"},
      {"kind \"bridge\"\nheight 0.0005\n", "double-track"},
      {"kind \"bridge\"\nheight 12\n", "tunnel"},
      {"kind \"track\"\nquorix-build 2.8\nchunky_mesh \"a.im\"\n", "chunky-track"},
      {"kind \"scenery\"\ntrackside 3\n", "scenery-trackside"},
  };
  for (const Case& c : cases) {
    FindingsHandler findings;
    Container container(Schema::Load(data_), findings);
    TagContainer config = qtest::ConfigFromText(c.config);
    EXPECT_TRUE(container.Validate(config)) << c.config;
    EXPECT_EQ(container.Kind(), c.kind) << c.config;
  }
}

TEST_F(BuildCheckTest, KindProblemsAndAlias) {
  auto schema = Schema::Load(data_);
  auto run = [&](const char* text, bool* ok) {
    FindingsHandler findings;
    Container container(schema, findings);
    TagContainer config = qtest::ConfigFromText(text);
    *ok = container.Validate(config);
    return findings.Findings();
  };
  bool ok = true;
  auto missing = run("username \"x\"\n", &ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].message, "message 115: kind");
  auto unknown = run("kind \"spaceship\"\n", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(unknown.at(0).message, "message 112: spaceship");
  auto alias = run("kind \"mesh\"\nalias <kuid:1:2>\n", &ok);
  EXPECT_TRUE(ok);
  ASSERT_EQ(alias.size(), 1u);
  EXPECT_EQ(alias[0].severity, Finding::kWarning);
  EXPECT_EQ(alias[0].message, "message 119: alias");
}

TEST_F(BuildCheckTest, UnreadableConfiguration) {
  const std::string folder = temp_.Path() + "/empty";
  qtest::WriteText(folder + "/readme.txt", "");
  auto report = Check(folder, data_);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(log_.Errors(), 1);
}

// The demo installation's schema and English catalogue.
class DemoSchemaTest : public AssetFolderTest {
 protected:
  ValidationReport Demo(const std::string& config, const std::string& name = "asset") {
    return Check(Asset(config, name), qtest::DemoDataFolder());
  }
};

constexpr const char* kMesh = R"(kuid                                    <kuid:456123:1001>
kind                                    "mesh"
quorix-build                            3.1
username                                "Wooden crate"
username-de                             "Holzkiste"
category-class                          "CMP;MESH"
category-region                         "GB;IE"
category-era                            "1950s;1960s"
description                             "A plain crate."
mesh-table
{
  default
  {
    mesh                                "crate.im"
    auto-create                         1
  }
  lid
  {
    mesh                                "lid.im"
    att                                 "a.lid"
    att-parent                          "default"
    effects
    {
      label
      {
        kind                            "name"
        att                             "a.label"
        fontsize                        0.1
        fontcolor                       "255,255,255,255"
      }
    }
  }
}
thumbnails
{
  0
  {
    image                               "thumb.jpg"
    width                               240
    height                              180
  }
}
kuid-table
{
  0                                     <kuid:456123:1002>
}
)";

TEST_F(DemoSchemaTest, CorrectMeshPassesWithoutFindings) {
  auto report = Demo(kMesh);
  EXPECT_TRUE(report.ok);
  EXPECT_EQ(report.errors, 0);
  EXPECT_EQ(report.warnings, 0);
  EXPECT_TRUE(Messages().empty()) << Messages().at(0);
}

TEST_F(DemoSchemaTest, UnknownTagIsAnErrorNamingIt) {
  std::string config = kMesh;
  config.replace(config.find("    auto-create"), 0, "    wobble                              3\n");
  auto report = Demo(config);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Unknown tag 'mesh-table/default/wobble'."});
}

TEST_F(DemoSchemaTest, MissingRequiredTagIsAnError) {
  std::string config = kMesh;
  const size_t at = config.find("username ");
  config.erase(at, config.find('\n', at) + 1 - at);
  auto report = Demo(config);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Missing required tag 'username'."});
}

TEST_F(DemoSchemaTest, TypedFindingsReadClearly) {
  std::string config = kMesh;
  config.replace(config.find("    width                               240"), 44, "    width                               \"wide\"");
  config.replace(config.find("att-parent                          \"default\""), 45,
                 "att-parent                          \"lid\"");
  config += "nightmode \"disco\"\n";  // not a tag of meshes at all
  auto report = Demo(config);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Tag 'mesh-table/lid/att-parent' names its own entry 'lid' as its parent.",
                            "Tag 'thumbnails/0/width' must hold a whole number.",
                            "Unknown tag 'nightmode'.",
                        }));
}

TEST_F(DemoSchemaTest, TraincarWithEffectsQueuesAndLights) {
  const char* traincar = R"(kuid <kuid:456123:2000>
kind "traincar"
quorix-build 3.0
username "Box van"
category-class "TR;TV;ROLL"
mass 12000
bogey <kuid:456123:2001>
mesh-table { default { mesh "van.im" auto-create "1" } }
queues
{
  load
  {
    size 20
    initial-count 5
    stocked 1
    product-kuid <kuid:456123:3000>
  }
}
lights { tail { att "a.tail" light-color "255, 0, 0" } }
smoke0
{
  mode "speed"
  rate 2
  attachment "a.chimney"
}
)";
  auto report = Demo(traincar);
  EXPECT_TRUE(report.ok) << (Messages().empty() ? "" : Messages()[0]);
  EXPECT_EQ(report.warnings, 0);

  std::string faulty = traincar;
  faulty.replace(faulty.find("light-color \"255, 0, 0\""), 23, "light-color \"255, 0\"");
  faulty.replace(faulty.find("mode \"speed\""), 12, "mode \"fast\"");
  faulty += "cab-mass 2000\n";
  auto bad = Demo(faulty, "bad");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.warnings, 1);  // the obsolete tag
  const auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Tag 'light-color' must hold 3 numbers, but it holds 2."),
            messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      "Tag 'smoke0/mode' has the value 'fast'; the allowed values are: time, speed, anim."),
            messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Tag 'cab-mass' is obsolete; use 'mass' instead."),
            messages.end());
}

TEST_F(DemoSchemaTest, EffectFormsAndScripts) {
  const char* config = R"(kuid <kuid:456123:4000>
kind "industry"
quorix-build 3.1
username "Coal mine"
script "mine.gs"
class "CoalMine"
mesh-table { default { mesh "mine.im" effects { glow { kind "sparkle" } } } }
)";
  auto report = Demo(config);
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Tag 'script' names the script file 'mine.gs', which the asset does not contain.",
                            "Tag 'mesh-table/default/effects/glow/kind' has the value 'sparkle', for which the "
                            "schema defines no form.",
                        }));
}

TEST_F(DemoSchemaTest, EverySchemaReferenceResolves) {
  auto schema = Schema::Load(qtest::DemoDataFolder());
  EXPECT_TRUE(schema->MissingReferences().empty()) << schema->MissingReferences().at(0);
  for (const char* kind : {"mesh", "scenery", "scenery-trackside", "traincar", "engine", "bogey", "texture",
                           "industry", "track", "chunky-track", "mesh-reducing-track", "obsolete-track", "bridge",
                           "tunnel", "double-track", "consist", "region", "environment", "profile", "library",
                           "behavior", "activity", "water", "paintshed-skin"})
    EXPECT_NE(schema->Find(kind), nullptr) << kind;
}

TEST(AssetDependencies, EveryReferenceButOwnAndObsoletes) {
  TagContainer config = qtest::ConfigFromText(R"(kuid <kuid:1:100>
bogey <kuid:1:200>
mesh-table { default { mesh-asset <kuid:1:300> } }
kuid-table
{
  0 <kuid:1:200>
  1 <kuid2:1:400:2>
  2 <NULL>
}
obsolete-table
{
  0 <kuid:1:99>
}
)");
  DependencyEntry entry = ConfigDependencies(config);
  const std::vector<KUID>& deps = entry.dependencies;
  ASSERT_EQ(deps.size(), 3u);
  EXPECT_EQ(deps[0], (KUID{1, 200, 0}));
  EXPECT_EQ(deps[1], (KUID{1, 300, 0}));
  EXPECT_EQ(deps[2], (KUID{1, 400, 2}));
  ASSERT_EQ(entry.obsoletes.size(), 1u);
  EXPECT_EQ(entry.obsoletes[0], (KUID{1, 99, 0}));
}

}  // namespace
}  // namespace QETLib
