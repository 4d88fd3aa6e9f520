// dlsparse on real packages: the report for each asset, the package and thumbnail written
// beside the input, unreadable packages, and the abort that reverts what was installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "content/package.h"
#include "content/tag_container.h"
#include "frontend/test_images.h"
#include "support/installation.h"

namespace fs = std::filesystem;
using QETLib::Parse;
using QETLib::TagContainer;

namespace {

class DLSParse : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;
  qtest::TempFolder source;

  void SetUp() override { inst.CopyFromExamples("installation/bin/QETData", "bin/QETData"); }

  // A package entry: a configuration with the given extra tags, and the given files.
  static TagContainer Entry(const std::string& kuid, const std::string& name, const TagContainer& files,
                            const std::string& description = "") {
    TagContainer config;
    config.MakeWritable();
    config.SetKUID("kuid", Parse(kuid, false));
    config.SetString("username", name);
    config.SetString("kind", "mesh");
    config.SetFloat("quorix-build", 3.1f);
    if (!description.empty()) config.SetString("description", description);
    return QETLib::MakePackageEntry(config, files, false);
  }
  static TagContainer Files(const std::vector<std::pair<std::string, std::string>>& members) {
    TagContainer files;
    files.MakeWritable();
    for (const auto& [name, bytes] : members) files.SetBinary(name, bytes);
    return files;
  }
  std::string WritePackageFile(const std::string& name, const std::vector<TagContainer>& entries) {
    TagContainer package;
    package.MakeWritable();
    for (const TagContainer& entry : entries) EXPECT_EQ(QETLib::AddAssetToPackage(package, entry), "");
    std::string path = source.Path() + "/" + name;
    EXPECT_EQ(QETLib::WritePackage(package, path), "");
    return path;
  }
  std::string ReadSource(const std::string& name) {
    std::ifstream in(source.Path() + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The lines of the output that start with `prefix`, with the prefix removed.
  static std::vector<std::string> LinesWith(const std::string& out, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
      if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
    return lines;
  }
};

TEST_F(DLSParse, ReportsEachAssetAndWritesPackageAndThumbnailBesideInput) {
  TagContainer alpha = Entry("<kuid:700:1>", "Al\\pha", Files({{"body.im", "mesh"}, {"Thumbnail.JPG", qtest::MakeImage("jpg", 480, 240, false)}}),
                             "Line one\r\nLine two\nthree \\ end");
  alpha.SetString("category-class", "BR");
  alpha.SetString("category-region-0", "GB");
  alpha.SetString("category-era-0", "1950s");
  alpha.SetKUID("alias", Parse("<kuid:700:5>", false));
  TagContainer deps;
  deps.MakeWritable();
  deps.SetKUID("0", Parse("<kuid:700:9>", false));
  alpha.SetContainer("kuid-table", deps);
  TagContainer obsolete;
  obsolete.MakeWritable();
  obsolete.SetKUID("0", Parse("<kuid:700:8>", false));
  alpha.SetContainer("obsolete-table", obsolete);
  TagContainer beta = Entry("<kuid2:700:2:3>", "Beta", Files({{"body.im", "other mesh"}}));
  std::string package = WritePackageFile("upload.cdp", {alpha, beta});

  auto r = inst.Run({"dlsparse", package});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  // The status lines are those the status command prints.
  std::string alpha_status = inst.Run({"status", "<kuid:700:1>"}).out;
  std::string beta_status = inst.Run({"status", "<kuid2:700:2:3>"}).out;
  EXPECT_EQ(alpha_status.substr(0, alpha_status.find('\n') + 1), "+ <kuid:700:1> : eIadLMF : BR : Al\\pha\n");
  EXPECT_EQ(r.out.find(alpha_status.substr(0, alpha_status.find('\n') + 1)), 0u) << r.out;
  EXPECT_NE(r.out.find(beta_status.substr(0, beta_status.find('\n') + 1)), std::string::npos) << r.out;

  std::vector<std::string> expected = {"Name: Al\\\\pha",
                                       "Description: Line one\\nLine two\\nthree \\\\ end",
                                       "Quorix-build: 3.1",
                                       "Dependencies: <kuid:700:5>, <kuid:700:9>",
                                       "Obsoletes: <kuid:700:8>",
                                       "kind: mesh",
                                       "alias-kuid: <kuid:700:5>",
                                       "category-region: GB",
                                       "category-era: 1950s",
                                       "category-class: BR"};
  EXPECT_EQ(LinesWith(r.out, "; <kuid:700:1> : "), expected) << r.out;
  std::vector<std::string> beta_lines = LinesWith(r.out, "; <kuid2:700:2:3> : ");
  ASSERT_EQ(beta_lines.size(), 11u) << r.out;
  EXPECT_EQ(beta_lines[3], "Dependencies: ");
  EXPECT_EQ(beta_lines[5], "No thumbnail image.");
  EXPECT_EQ(beta_lines[7], "alias-kuid: <NULL>");

  // Each asset as a package of its own, named by its KUID's word form.
  TagContainer written;
  ASSERT_EQ(QETLib::ReadPackage(written, source.Path(), "kuid 700 1.cdp"), "");
  TagContainer entry = written.GetContainer("assets").GetContainer("<kuid:700:1>");
  EXPECT_EQ(entry.GetText("username"), "Al\\pha");
  EXPECT_TRUE(entry.GetContainer("files").HasTag("body.im"));
  EXPECT_TRUE(fs::exists(source.Path() + "/kuid2 700 2 3.cdp"));

  // The thumbnail: its larger side scaled to 240 pixels.
  int width = 0, height = 0;
  ASSERT_TRUE(qtest::ImageSize(ReadSource("kuid 700 1.jpg"), width, height));
  EXPECT_EQ(width, 240);
  EXPECT_EQ(height, 120);
  EXPECT_EQ(ReadSource("kuid 700 1.jpg").substr(0, 2), "\xFF\xD8");  // a JPEG
  EXPECT_FALSE(fs::exists(source.Path() + "/kuid2 700 2 3.jpg"));
}

TEST_F(DLSParse, ThumbnailNamedByConfigurationWins) {
  TagContainer files = Files({{"thumbnail.jpg", qtest::MakeImage("jpg", 16, 16, false)}});
  files.SetContainer("art", Files({{"big.tga", qtest::MakeImage("tga", 100, 400, true)}}));
  TagContainer entry = Entry("<kuid:700:1>", "Alpha", files);
  entry.SetString("thumbnail", "Art/BIG.tga");
  auto r = inst.Run({"dlsparse", WritePackageFile("one.cdp", {entry})});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  int width = 0, height = 0;
  ASSERT_TRUE(qtest::ImageSize(ReadSource("kuid 700 1.jpg"), width, height));
  EXPECT_EQ(width, 60);
  EXPECT_EQ(height, 240);
}

TEST_F(DLSParse, DamagedThumbnailIsAnErrorButTheReportGoesOn) {
  TagContainer entry = Entry("<kuid:700:1>", "Alpha", Files({{"thumbnail.jpg", "not really a jpeg"}}));
  auto r = inst.Run({"dlsparse", WritePackageFile("one.cdp", {entry})});
  EXPECT_EQ(r.exit_code, 255) << r.out;
  EXPECT_NE(r.out.find("- <kuid:700:1> : Unable to read image file"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("; <kuid:700:1> : category-class: "), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(source.Path() + "/kuid 700 1.cdp"));
}

TEST_F(DLSParse, UnreadablePackage) {
  std::ofstream(source.Path() + "/junk.cdp") << "not a package";
  auto bare = inst.Run({"dlsparse", source.Path() + "/junk.cdp"});
  EXPECT_EQ(bare.out, "- <NULL> : $qad_unreadable_cdp\nOK (1 Errors, 0 Warnings)\n");
  EXPECT_EQ(bare.exit_code, 255);

  inst.CopyFromExamples("installation/data/interfacetext.txt", "data/interfacetext.txt");
  auto missing = inst.Run({"dlsparse", source.Path() + "/Missing.cdp"});
  EXPECT_NE(missing.out.find("- <NULL> : Could not read the package " + source.Path() + "/Missing.cdp:"),
            std::string::npos)
      << missing.out;
  EXPECT_EQ(missing.exit_code, 255);
}

TEST_F(DLSParse, FailedInstallAbortsAndRevertsEveryAssetOfThePackage) {
  // An asset already installed and committed, which the package would overwrite.
  std::string first = WritePackageFile("first.cdp", {Entry("<kuid:700:3>", "Kept", Files({{"body.im", "old"}}))});
  ASSERT_EQ(inst.Run({"installcdp", first}).exit_code, 0);

  // The bad entry holds a file member that is not file data: writing its files fails.
  TagContainer bad_files = Files({{"body.im", "mesh"}});
  bad_files.SetString("broken.im", "text where bytes belong");
  std::string package = WritePackageFile(
      "upload.cdp", {Entry("<kuid:700:1>", "Alpha", Files({{"body.im", "new"}})),
                     Entry("<kuid:700:3>", "Kept", Files({{"body.im", "replaced"}})),
                     Entry("<kuid:700:2>", "Broken", bad_files)});
  auto r = inst.Run({"dlsparse", package});
  EXPECT_EQ(r.exit_code, 255) << r.out;
  EXPECT_NE(r.out.find("- <kuid:700:2> : $qad_failed_install"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("- <NULL> : Aborted processing\nOK ("), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("; <kuid:700:1> : Name:"), std::string::npos) << r.out;  // no report

  // The new asset is gone again, the old one is back as it was and not open for edit.
  EXPECT_EQ(inst.Run({"status", "<kuid:700:1>"}).exit_code, 255);
  EXPECT_EQ(inst.Run({"status", "<kuid:700:3>"}).out.substr(0, 30), "+ <kuid:700:3> : eIadLmF :  : ");
  std::string exported = source.Path() + "/check.cdp";
  ASSERT_EQ(inst.Run({"createcdp", exported, "<kuid:700:3>"}).exit_code, 0);
  TagContainer check;
  ASSERT_EQ(QETLib::ReadPackage(check, "", exported), "");
  QETLib::DataRef body = check.GetContainer("assets").GetContainer("<kuid:700:3>").GetContainer("files").GetData("body.im");
  ASSERT_TRUE(body);
  EXPECT_EQ(body->View(), "old");
  EXPECT_TRUE(fs::is_empty(inst.PathOf("editing")));
  EXPECT_FALSE(fs::exists(source.Path() + "/kuid 700 1.cdp"));
}

}  // namespace
