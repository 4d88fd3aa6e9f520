// Packages: the read checks, adding entries and the rebuilt tables, writing and reading a
// real file, and the checksum.
#include <gtest/gtest.h>

#include "content/package.h"
#include "content/package_checksum.h"
#include "package_test_util.h"

namespace {

using package_test::TempDir;
using QETLib::KUID;
using QETLib::TagContainer;

TagContainer Entry(KUID kuid) {
  TagContainer e;
  e.SetKUID("kuid", kuid);
  e.SetString("username", "asset");
  return e;
}

std::vector<KUID> Table(const TagContainer& package, std::string_view name) {
  TagContainer t = package.GetContainer(name);
  std::vector<KUID> out;
  for (uint32_t i = 0; i < t.TagCount(); ++i) {
    EXPECT_EQ(t.TagName(i).View(), std::to_string(i));
    out.push_back(t.GetKUID(t.TagName(i).View()));
  }
  return out;
}

TEST(Package, ReadChecks) {
  TempDir dir;
  struct Case {
    const char* name;
    const char* kind;  // nullptr: no kind tag
    int contents;
    int assets;
    int version;  // 0: no version tag
    const char* message;
  } cases[] = {
      {"upper.cdp", "ARCHIVE", 1, 1, 1, ""},
      {"nokind.cdp", nullptr, 1, 1, 1, "Content could not be read, as the file is not a valid CDP"},
      {"other.cdp", "asset", 0, 0, 1, "Content could not be read, as the file is not a valid CDP"},
      {"damaged.cdp", "archive", 2, 3, 1, "Content could not be read, as the CDP file is damaged"},
      {"newer.cdp", "archive", 1, 1, 2, "This content requires a newer Quorix version"},
      {"noversion.cdp", "archive", 0, 0, 0, "This content requires a newer Quorix version"},
  };
  for (const Case& c : cases) {
    TagContainer p;
    if (c.kind) p.SetString("kind", c.kind);
    if (c.version) p.SetInt("package-version", c.version);
    TagContainer contents, assets;
    contents.MakeWritable();
    assets.MakeWritable();
    for (int i = 0; i < c.contents; ++i) contents.SetKUID(std::to_string(i), KUID{5, i, 0});
    for (int i = 0; i < c.assets; ++i) assets.SetContainer(ToBracketString(KUID{5, i, 0}), Entry(KUID{5, i, 0}));
    p.SetContainer("contents-table", contents);
    p.SetContainer("assets", assets);
    ASSERT_TRUE(p.Save(dir / c.name)) << c.name;
    TagContainer read;
    EXPECT_EQ(QETLib::ReadPackage(read, dir.Path(), c.name), c.message) << c.name;
    EXPECT_EQ(read.IsEmpty(), *c.message != 0) << c.name;
  }
  TagContainer missing;
  EXPECT_EQ(QETLib::ReadPackage(missing, dir.Path(), "absent.cdp"),
            "Content could not be read, as the file is not a valid CDP");
}

TEST(Package, AddRefusesNullAndDuplicateKUIDs) {
  TagContainer p;
  EXPECT_EQ(QETLib::AddAssetToPackage(p, Entry(KUID::Null())),
            "Unable to add content as it doesnt not contain a valid KUID");
  EXPECT_EQ(QETLib::AddAssetToPackage(p, Entry(KUID{100, 7, 2})), "");
  EXPECT_EQ(QETLib::AddAssetToPackage(p, Entry(KUID{100, 7, 2})),
            "Unable to add content as an item with KUID <kuid2:100:7:2> is already present");
  EXPECT_EQ(QETLib::AddAssetToPackage(p, Entry(KUID{100, 7, 3})), "");
  EXPECT_EQ(p.GetContainer("assets").TagCount(), 2u);
  EXPECT_EQ(Table(p, "contents-table"), (std::vector<KUID>{{100, 7, 2}, {100, 7, 3}}));
}

TEST(Package, TablesAreRebuiltFromEveryEntry) {
  TagContainer p;
  TagContainer car = Entry(KUID{100, 1, 0});
  car.SetString("kind", "TrainCar");
  car.SetInt("engine", 1);
  car.SetKUID("bogey", KUID{200, 2, 0});
  TagContainer mesh;
  mesh.SetString("texture-kuid", "<kuid:300:3>");
  mesh.SetString("name", "1234");  // a bare number is not a KUID here
  mesh.SetKUID("other", KUID{100, 2, 0});  // packaged below: left out of the dependencies
  car.SetContainer("mesh-table", mesh);
  TagContainer obsolete;
  obsolete.SetKUID("0", KUID{200, 2, 0});
  car.SetContainer("obsolete-table", obsolete);
  car.SetKUID("obsoletes-kuid", KUID{100, 2, 0});
  ASSERT_EQ(QETLib::AddAssetToPackage(p, car), "");

  TagContainer second = Entry(KUID{100, 2, 0});
  second.SetKUID("interior", KUID{400, 4, 0});
  second.SetString("kind", "traincar");
  second.SetInt("engine", 1);
  second.SetKUID("obsoletes-kuid", KUID{100, 9, 0});
  ASSERT_EQ(QETLib::AddAssetToPackage(p, second), "");

  EXPECT_EQ(Table(p, "contents-table"), (std::vector<KUID>{{100, 1, 0}, {100, 2, 0}}));
  // The bogey is in the car's own obsolete table; the driven car without interior needs the
  // default cab; an "obsoletes-kuid" value is a KUID of the configuration like any other.
  EXPECT_EQ(Table(p, "kuid-table"), (std::vector<KUID>{{300, 3, 0}, {-10, 172, 127}, {400, 4, 0}, {100, 9, 0}}));
  // The second entry takes its own KUID out of what the first declared obsolete.
  EXPECT_EQ(Table(p, "obsolete-table"), (std::vector<KUID>{{200, 2, 0}, {100, 9, 0}}));
  EXPECT_EQ(p.GetText("kind"), "archive");
  EXPECT_EQ(p.GetInt("package-version"), 1);
  std::vector<std::string> order;
  for (uint32_t i = 0; i < p.TagCount(); ++i) order.emplace_back(p.TagName(i).View());
  EXPECT_EQ(order, (std::vector<std::string>{"assets", "contents-table", "kuid-table", "obsolete-table", "kind",
                                              "package-version"}));
}

TEST(Package, WriteReadAndAddToALoadedPackage) {
  TempDir dir;
  TagContainer p;
  ASSERT_EQ(QETLib::AddAssetToPackage(p, Entry(KUID{1, 1, 0})), "");
  EXPECT_EQ(QETLib::WritePackage(p, dir / "pkg.zip"), "Unable to write archive file. Needs to be .cdp file extension");
  ASSERT_EQ(QETLib::WritePackage(p, dir / "pkg.cdp"), "");
  TagContainer read;
  ASSERT_EQ(QETLib::ReadPackage(read, dir.Path(), "pkg.cdp"), "");
  EXPECT_EQ(QETLib::AddAssetToPackage(read, Entry(KUID{1, 1, 0})),
            "Unable to add content as an item with KUID <kuid:1:1> is already present");
  ASSERT_EQ(QETLib::AddAssetToPackage(read, Entry(KUID{1, 2, 0})), "");
  ASSERT_EQ(QETLib::WritePackage(read, dir / "pkg2.cdp"), "");
  TagContainer again;
  ASSERT_EQ(QETLib::ReadPackage(again, dir.Path(), "pkg2.cdp"), "");
  EXPECT_EQ(Table(again, "contents-table"), (std::vector<KUID>{{1, 1, 0}, {1, 2, 0}}));
  EXPECT_EQ(again.GetContainer("assets").GetContainer("<kuid:1:2>").GetText("username"), "asset");
}

TEST(Package, Checksum) {
  auto text = [](std::initializer_list<std::string> values) {
    TagContainer files;
    files.MakeWritable();
    int i = 0;
    for (const std::string& v : values) files.SetBinary("f" + std::to_string(i++) + ".dat", v);
    return QETLib::PackageChecksumText(files);
  };
  EXPECT_EQ(text({}), "0:0");
  EXPECT_EQ(text({std::string("\x01\x02\x03\x04", 4)}), "0:1");
  EXPECT_EQ(text({std::string("\x01\0\0\0x", 5)}), "4:2");
  EXPECT_EQ(text({std::string("\x01\0\0\0xyz", 7)}), "4:2");
  // Bit 30 comes back as bit 0 and also moves up to bit 31.
  EXPECT_EQ(text({std::string("\0\0\0\x40\0", 5)}), "4:-2147483647");
  // Two values: lengths and sums add up; a file in a sub-folder counts too.
  TagContainer files;
  files.SetBinary("a.dat", std::string("\x01\0\0\0\x02\0\0\0", 8));  // s = 2, then (2+2)*2 = 8
  TagContainer sub;
  sub.SetBinary("b.dat", std::string("\x03\0\0\0\0", 5));  // 6
  files.SetContainer("sub", sub);
  EXPECT_EQ(QETLib::PackageChecksumText(files), "12:14");
}

TEST(Package, EntryCarriesFilesCompressionAndChecksum) {
  TagContainer config = Entry(KUID{9, 9, 0});
  TagContainer files;
  files.SetBinary("a.txt", std::string("\x01\0\0\0x", 5));
  TagContainer e = QETLib::MakePackageEntry(config, files, true);
  EXPECT_EQ(e.GetKUID("kuid"), (KUID{9, 9, 0}));
  EXPECT_EQ(e.GetText("compression"), "LZSS");
  EXPECT_EQ(e.GetText("dsid"), "4:2");
  EXPECT_EQ(e.GetContainer("files").TagCount(), 1u);
  EXPECT_EQ(QETLib::MakePackageEntry(config, files, false).GetText("compression"), "");
  EXPECT_TRUE(QETLib::PackageChecksumMatches(e));
  files.SetBinary("b.txt", std::string("\x02\0\0\0x", 5));
  e.SetContainer("files", files);
  EXPECT_FALSE(QETLib::PackageChecksumMatches(e));
}

}  // namespace
