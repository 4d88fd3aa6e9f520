// Packing and unpacking asset folders: the name, extension and skip rules, stored and LZSS
// values, damaged values, and proof that nothing is ever written outside the target folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "content/lzss_encoder.h"
#include "content/package.h"
#include "content/package_checksum.h"
#include "content/package_names.h"
#include "package_test_util.h"

namespace {

using package_test::Get;
using package_test::Put;
using package_test::Recorder;
using package_test::TempDir;
using QETLib::TagContainer;

const char kWriteFailed[] = "Unable to write content files to disk";
const char kDecompressFailed[] = "Failed to decompress data. Content package may be damaged";

void MakeAssetFolder(const TempDir& dir) {
  Put(dir / "asset/config.txt", "kuid <kuid:1:2>\r\n");
  Put(dir / "asset/body.im", std::string(5000, 'm') + "tail");
  Put(dir / "asset/empty.txt", "");
  Put(dir / "asset/abc.txt", "abc");
  Put(dir / "asset/textures/wood.texture", std::string(300, '\x07'));
  Put(dir / "asset/readme.doc", "ignored");
  Put(dir / "asset/THUMBS.DB", "skipped");
  Put(dir / "asset/mesh.imw", "skipped");
  Put(dir / "asset/ lead.txt", "bad name");
  Put(dir / "asset/what?.txt", "bad name");
}

TEST(PackageNames, Rules) {
  for (const char* ok : {"a", "Body 2.im", "$&'()+,-._~.txt", "x~", "a.b.c"})
    EXPECT_TRUE(QETLib::IsAllowedPackageName(ok)) << ok;
  for (const char* bad : {"", " a", "a ", ".a", "~a", "..", "a/b", "a\\b", "a?b", "a*b", "a:b", "ä"})
    EXPECT_FALSE(QETLib::IsAllowedPackageName(bad)) << bad;
  EXPECT_TRUE(QETLib::IsAllowedPackageExtension("A.TEXTURE"));
  EXPECT_TRUE(QETLib::IsAllowedPackageExtension("script.gse"));
  EXPECT_FALSE(QETLib::IsAllowedPackageExtension("readme.doc"));
  EXPECT_FALSE(QETLib::IsAllowedPackageExtension("txt"));
  EXPECT_TRUE(QETLib::IsSkippedPackageFile("Thumbs.db"));
  EXPECT_TRUE(QETLib::IsSkippedPackageFile("PSPBRWSE.JBF"));
  EXPECT_TRUE(QETLib::IsSkippedPackageFile("a.gmw"));
  EXPECT_FALSE(QETLib::IsSkippedPackageFile("a.GMW"));
}

TEST(PackageFolder, PackAndUnpackBothWays) {
  TempDir dir;
  MakeAssetFolder(dir);
  for (std::string_view compression : {"", "LZSS"}) {
    Recorder rec;
    TagContainer files;
    ASSERT_TRUE(QETLib::PackFolder(dir / "asset", compression, rec.Log(), files));
    ASSERT_EQ(rec.entries.size(), 3u);
    // Listing order: " lead.txt", "readme.doc", "what?.txt".
    EXPECT_EQ(rec.entries[0].tag, "$qad_package_file_bad_name");
    EXPECT_EQ(rec.entries[0].level, 3);
    EXPECT_EQ(rec.entries[0].params, (QETLib::PackageParams{{"file_name", " lead.txt"}}));
    EXPECT_EQ(rec.entries[1].tag, "$qad_package_file_bad_ext");
    EXPECT_EQ(rec.entries[1].level, 2);
    EXPECT_EQ(rec.entries[1].params, (QETLib::PackageParams{{"file_name", "readme.doc"}}));
    EXPECT_EQ(rec.entries[2].params, (QETLib::PackageParams{{"file_name", "what?.txt"}}));
    EXPECT_EQ(files.TagCount(), 5u);  // abc.txt body.im config.txt empty.txt textures
    EXPECT_FALSE(files.HasTag("THUMBS.DB"));

    int32_t type = 0;
    QETLib::DataRef body = files.GetData("body.im", &type);
    EXPECT_EQ(type, QETLib::kTypeBinary);
    ASSERT_TRUE(body);
    if (compression.empty()) {
      EXPECT_EQ(body->Size(), 5004u);
      EXPECT_FALSE(files.GetData("empty.txt"));
    } else {
      // Size prefix, then a stream far shorter than the file; a short file is stored.
      EXPECT_EQ(body->View().substr(0, 4), std::string("\x8c\x13\0\0", 4));
      EXPECT_LT(body->Size(), 100u);
      EXPECT_EQ(files.GetData("abc.txt")->View(), std::string("\x03\0\0\0\0abc", 8));
    }

    std::string out = dir / (compression.empty() ? "stored" : "lzss");
    ASSERT_EQ(QETLib::UnpackFolder(files, out, compression), "");
    EXPECT_EQ(Get(out + "/body.im"), Get(dir / "asset/body.im"));
    EXPECT_EQ(Get(out + "/textures/wood.texture"), std::string(300, '\x07'));
    EXPECT_EQ(Get(out + "/empty.txt"), "");
    EXPECT_EQ(Get(out + "/abc.txt"), "abc");
    EXPECT_FALSE(Orb::File::Exists(out + "/readme.doc"));
  }
}

TEST(PackageFolder, WholePackageThroughAFile) {
  TempDir dir;
  MakeAssetFolder(dir);
  TagContainer files;
  ASSERT_TRUE(QETLib::PackFolder(dir / "asset", "LZSS", {}, files));
  TagContainer config;
  config.SetKUID("kuid", QETLib::KUID{1, 2, 0});
  TagContainer package;
  ASSERT_EQ(QETLib::AddAssetToPackage(package, QETLib::MakePackageEntry(config, files, true)), "");
  ASSERT_EQ(QETLib::WritePackage(package, dir / "asset.cdp"), "");

  TagContainer read;
  ASSERT_EQ(QETLib::ReadPackage(read, dir.Path(), "asset.cdp"), "");
  TagContainer entry = read.GetContainer("assets").GetContainer("<kuid:1:2>");
  EXPECT_TRUE(QETLib::PackageChecksumMatches(entry));
  ASSERT_EQ(QETLib::UnpackFolder(entry.GetContainer("files"), dir / "out", entry.GetText("compression")), "");
  for (const char* name : {"config.txt", "body.im", "empty.txt", "abc.txt", "textures/wood.texture"})
    EXPECT_EQ(Get(dir / (std::string("out/") + name)), Get(dir / (std::string("asset/") + name))) << name;
}

TEST(PackageFolder, CheckFolderReportsEveryFaultAsAnError) {
  TempDir dir;
  MakeAssetFolder(dir);
  Recorder rec;
  EXPECT_FALSE(QETLib::CheckFolder(dir / "asset", rec.Log()));
  ASSERT_EQ(rec.entries.size(), 3u);
  for (const auto& e : rec.entries) EXPECT_EQ(e.level, 3);
  EXPECT_EQ(rec.entries[1].tag, "$qad_package_file_bad_ext");

  Recorder clean;
  EXPECT_TRUE(QETLib::CheckFolder(dir / "asset/textures", clean.Log()));
  EXPECT_TRUE(clean.entries.empty());
  Recorder missing;
  EXPECT_FALSE(QETLib::CheckFolder(dir / "none", missing.Log()));
  ASSERT_EQ(missing.entries.size(), 1u);
  EXPECT_EQ(missing.entries[0].tag, "$qad_package_folder_err");
  TagContainer files;
  EXPECT_FALSE(QETLib::PackFolder(dir / "none", "", missing.Log(), files));
  EXPECT_EQ(missing.entries.back().tag, "$qad_package_folder_read_err");
  EXPECT_EQ(missing.entries.back().params, (QETLib::PackageParams{{"folder_path", dir / "none"}}));
}

TEST(PackageFolder, UnknownCompressionWhenPacking) {
  TempDir dir;
  Put(dir / "a/x.txt", "x");
  Recorder rec;
  TagContainer files;
  EXPECT_FALSE(QETLib::PackFolder(dir / "a", "zip", rec.Log(), files));
  ASSERT_EQ(rec.entries.size(), 1u);
  EXPECT_EQ(rec.entries[0].tag, "$qad_package_unknown_compression");
  EXPECT_EQ(rec.entries[0].params, (QETLib::PackageParams{{"file_path", dir / "a/x.txt"}, {"comp_type", "zip"}}));
}

TEST(PackageFolder, DamagedValuesAndTypes) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string value;
    const char* compression;
    const char* message;
  } cases[] = {
      {"three bytes", std::string("\x01\0\0", 3), "LZSS", kDecompressFailed},
      {"empty value", "", "LZSS", kDecompressFailed},
      {"size zero", std::string("\0\0\0\0", 4), "LZSS", ""},
      {"short stream", std::string("\x09\0\0\0\0abc", 8), "LZSS", kDecompressFailed},
      {"bad distance", std::string("\x06\0\0\0\x01\x0A\0\0\0a\x05", 11), "LZSS", kDecompressFailed},
      // 4 GiB - 1 claimed by a few bytes: refused at once, nothing of that size allocated.
      {"bomb", std::string("\xff\xff\xff\xff\x27\0\0\0\0\0\0\0", 12), "LZSS", kDecompressFailed},
      {"unknown compression", "abc", "zip", "Unknown compression type encountered. Content package may be damaged"},
  };
  for (const Case& c : cases) {
    TagContainer files;
    files.SetBinary("f.txt", c.value);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(QETLib::UnpackFolder(files, dir / "out", c.compression), c.message) << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.name;
  }
  TagContainer typed;
  typed.SetInt("number.txt", 5);
  typed.SetString("fine.txt", "x");
  typed.SetBinary("good.txt", "good");
  EXPECT_EQ(QETLib::UnpackFolder(typed, dir / "typed", ""),
            "Unknown data type encountered. Content package may be damaged");
  EXPECT_EQ(Get(dir / "typed/good.txt"), "good");  // the other children are still written
}

TEST(PackageFolder, SubFolderFailureIsPassedUp) {
  TempDir dir;
  TagContainer sub;
  sub.SetBinary("bad.txt", "xy");
  TagContainer files;
  files.SetContainer("sub", sub);
  files.SetBinary("ok.txt", "ok");
  EXPECT_EQ(QETLib::UnpackFolder(files, dir / "out", "LZSS"), kDecompressFailed);
  EXPECT_TRUE(Orb::File::IsFolder(dir / "out/sub"));
}

TEST(PackageFolder, NothingIsWrittenOutsideTheTarget) {
  TempDir dir;
  const std::string target = dir / "target";
  const std::string outside = dir / "outside";
  Put(outside + "/victim.txt", "original");
  Orb::File::Md(target);
  ASSERT_EQ(symlink((outside + "/victim.txt").c_str(), (target + "/link.txt").c_str()), 0);
  ASSERT_EQ(symlink(outside.c_str(), (target + "/linkdir").c_str()), 0);

  TagContainer files;
  for (const char* name : {"..", "../victim.txt", "/tmp/abs.txt", "a/b.txt", ".hidden.txt", "~x.txt", " x.txt"})
    files.SetBinary(name, "evil");
  files.SetBinary(std::string(300, 'n') + ".txt", "too long");
  TagContainer up;
  up.SetBinary("victim.txt", "evil");
  files.SetContainer("..", up);
  files.SetContainer("x/..", up);
  files.SetBinary("link.txt", "evil");
  files.SetContainer("linkdir", up);
  files.SetBinary("fine.txt", "fine");

  std::string message = QETLib::UnpackFolder(files, target, "");
  EXPECT_EQ(message, kWriteFailed);  // the long name and the two links could not be written
  EXPECT_EQ(Get(outside + "/victim.txt"), "original");
  EXPECT_EQ(Get(target + "/fine.txt"), "fine");
  EXPECT_FALSE(Orb::File::Exists(dir / "victim.txt"));
  EXPECT_FALSE(Orb::File::Exists("/tmp/abs.txt"));
  std::vector<Orb::FindEntry> listing;
  ASSERT_TRUE(Orb::ListFolder(target, listing));
  std::vector<std::string> names;
  for (const auto& e : listing) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"fine.txt", "link.txt", "linkdir"}));
  std::vector<Orb::FindEntry> outside_listing;
  ASSERT_TRUE(Orb::ListFolder(outside, outside_listing));
  EXPECT_EQ(outside_listing.size(), 1u);
}

TEST(PackageFolder, LinkedFoldersAreNotPacked) {
  TempDir dir;
  Put(dir / "asset/a.txt", "a");
  Put(dir / "elsewhere/secret.txt", "secret");
  ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "asset/more").c_str()), 0);
  ASSERT_EQ(symlink((dir / "asset").c_str(), (dir / "asset/loop").c_str()), 0);
  Recorder rec;
  TagContainer files;
  EXPECT_TRUE(QETLib::PackFolder(dir / "asset", "", rec.Log(), files));
  EXPECT_EQ(files.TagCount(), 1u);
}

}  // namespace
