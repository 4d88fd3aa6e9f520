// The index file: round trips, text limits, rejected headers, and files of older versions
// built by hand field by field.
#include <gtest/gtest.h>

#include <cstring>

#include "content/coding.h"
#include "content/stream_obfuscated.h"
#include "database/index_coding.h"
#include "database/index_file.h"
#include "database/index_record_codec.h"
#include "support/installation.h"

namespace QETLib {
namespace {

AssetRecord FullRecord(const KUID& kuid) {
  AssetRecord r(kuid);
  r.SetText(AssetRecord::kCategoryClass, "TR;TV;LOCO");
  r.SetText(AssetRecord::kName, "Class 12 shunter");
  r.SetText(AssetRecord::kCategoryRegions, "AU;NZ");
  r.SetText(AssetRecord::kCategoryEras, "1950s;1960s");
  r.SetText(AssetRecord::kCategoryKeywords, "steam");
  r.SetText(AssetRecord::kEditingPath, "editing/shunter");
  r.SetText(AssetRecord::kResourcePath, "base/shunter");
  r.SetText(AssetRecord::kLocalPath, "local/shunter");
  r.SetText(AssetRecord::kText6, "six");
  r.SetText(AssetRecord::kLocalisedName, "Rangierlok");
  r.RebuildKeywordText();
  r.resource_database = Orb::PString("local");
  r.map_kuid = KUID{5, 6, 7};
  r.state_flags = 0xC5;
  r.check_flags = 0xFF;
  r.permission_flags = 0x1F;
  r.extra_flag = true;
  r.small_value = 9;
  r.build = 312;
  r.quorix_build = 3.5f;
  r.time1 = 0x123456789ABCll;
  r.time2 = -5;
  r.folder_signature = -77;
  return r;
}

void ExpectSameRecord(const AssetRecord& a, const AssetRecord& b) {
  EXPECT_EQ(a.kuid, b.kuid);
  for (int f = 0; f < AssetRecord::kTextFieldCount; ++f)
    EXPECT_EQ(a.Text(AssetRecord::TextField(f)), b.Text(AssetRecord::TextField(f))) << "text field " << f;
  EXPECT_EQ(a.resource_database, b.resource_database);
  EXPECT_EQ(a.map_kuid, b.map_kuid);
  EXPECT_EQ(a.state_flags, b.state_flags);
  EXPECT_EQ(a.check_flags, b.check_flags);
  EXPECT_EQ(a.permission_flags, b.permission_flags);
  EXPECT_EQ(a.extra_flag, b.extra_flag);
  EXPECT_EQ(a.small_value, b.small_value);
  EXPECT_EQ(a.build, b.build);
  EXPECT_EQ(a.quorix_build, b.quorix_build);
  EXPECT_EQ(a.time1, b.time1);
  EXPECT_EQ(a.time2, b.time2);
  EXPECT_EQ(a.folder_signature, b.folder_signature);
}

bool ReadImage(AssetIndex& index, const std::string& image) {
  return ReadIndexImage(index, reinterpret_cast<const uint8_t*>(image.data()), image.size());
}

TEST(IndexFile, RoundTripKeepsEveryRecordFieldAndTheExtras) {
  AssetIndex index;
  index.Put(FullRecord(KUID{-1, 44, 3}));  // user -1 survives the 25-bit packing
  index.Put(FullRecord(KUID{16777215, 1, 127}));
  index.Put(FullRecord(KUID{-16777216, 2, 0}));
  IndexExtras& x = index.Extras();
  x.kuid_map1[KUID{1, 2, 0}] = KUID{3, 4, 0};
  x.kuid_map2[KUID{5, 6, 0}] = KUID{7, 8, 1};
  x.dependencies[KUID{-1, 44, 3}] = DependencyEntry{{KUID{9, 9, 0}}, {KUID{8, 8, 0}, KUID{7, 7, 0}}};
  x.table_b.push_back({"pair", 1, 2});
  x.table_c_value = 17;
  x.table_c.push_back({3, true, KUID{1, 1, 1}, "keyed", 4, 99});
  x.table_c.push_back({5, false, KUID::Null(), "", 0, -1});
  x.switch1 = true;
  x.blocks[2] = EmptyChumpImage() ;
  x.pair1[0] = 11;
  x.pair2[1] = -12;
  x.archive_lists.push_back({"old", {KUID{-1, 44, 3}}});
  x.download.text = "station";
  x.download.time_stamp = 1000;
  x.download.queued_urls = {"http://example.invalid/a"};
  x.tail_value = 21;
  x.tail_float = 2.5f;
  x.validation_level = 150;
  std::string image = IndexImage(index);
  EXPECT_EQ(index.Extras().generation[3], 1);

  AssetIndex back;
  ASSERT_TRUE(ReadImage(back, image));
  ASSERT_EQ(back.Size(), 3u);
  index.ForEach([&](const AssetRecord& r) { ExpectSameRecord(r, *back.Get(r.kuid)); });
  EXPECT_EQ(back.At(0).kuid, (KUID{-16777216, 2, 0}));  // index order: user first
  const IndexExtras& y = back.Extras();
  EXPECT_EQ(y.kuid_map1, x.kuid_map1);
  EXPECT_EQ(y.kuid_map2, x.kuid_map2);
  EXPECT_EQ(y.dependencies.at(KUID{-1, 44, 3}).obsoletes.size(), 2u);
  ASSERT_EQ(y.table_c.size(), 2u);
  EXPECT_EQ(y.table_c[0].kuid, (KUID{1, 1, 1}));
  EXPECT_EQ(y.table_c[0].text, "keyed");
  EXPECT_EQ(y.table_b[0].text, "pair");
  EXPECT_TRUE(y.switch1);
  EXPECT_EQ(y.pair1[0], 11);
  EXPECT_EQ(y.pair2[1], -12);
  EXPECT_EQ(y.archive_lists[0].kuids[0], (KUID{-1, 44, 3}));
  EXPECT_EQ(y.download.queued_urls, x.download.queued_urls);
  EXPECT_EQ(y.tail_float, 2.5f);
  EXPECT_EQ(y.generation[3], 1);
  EXPECT_EQ(y.validation_level, 150);
  EXPECT_EQ(back.PendingChangeFlags() & kChangeValidationLevel, kChangeValidationLevel);
}

TEST(IndexFile, TwoWritesDifferButReadAlike) {
  AssetIndex index;
  index.Put(FullRecord(KUID{1, 2, 0}));
  std::string a = IndexImage(index), b = IndexImage(index);
  EXPECT_NE(a.substr(16), b.substr(16));
  AssetIndex ra, rb;
  ASSERT_TRUE(ReadImage(ra, a));
  ASSERT_TRUE(ReadImage(rb, b));
  ExpectSameRecord(ra.At(0), rb.At(0));
}

TEST(IndexFile, TextLimits) {
  AssetIndex index;
  AssetRecord r(KUID{1, 1, 0});
  r.SetText(AssetRecord::kName, std::string(65535, 'n'));
  r.SetText(AssetRecord::kText6, std::string(65536, 's'));
  r.resource_database = Orb::PString(std::string(65534, 'd'));
  index.Put(r);
  AssetRecord r2(KUID{1, 2, 0});
  r2.resource_database = Orb::PString(std::string(65535, 'e'));
  index.Put(r2);
  AssetIndex back;
  ASSERT_TRUE(ReadImage(back, IndexImage(index)));
  EXPECT_EQ(back.Get(KUID{1, 1, 0})->Name().size(), 65535u);
  EXPECT_TRUE(back.Get(KUID{1, 1, 0})->Text6().empty());
  EXPECT_EQ(back.Get(KUID{1, 1, 0})->resource_database.Size(), 65534u);
  EXPECT_TRUE(back.Get(KUID{1, 2, 0})->resource_database.Empty());
}

// A plain (unscrambled) image of a version above 33: header, seed, then `body` scrambled.
std::string Seeded(int32_t version, const std::string& body, uint32_t seed = 0x1234567) {
  TBuffer out;
  out.WriteU32(kIndexMagic);
  out.WriteI32(version);
  out.WriteI32(0);
  out.WriteU32(seed);
  std::string scrambled = body;
  ObfuscationKey(seed).Scramble(reinterpret_cast<uint8_t*>(scrambled.data()), scrambled.size(), 16);
  out.WriteBytes(scrambled);
  std::string image = out.ToString();
  EncodeU32(reinterpret_cast<uint8_t*>(image.data()) + 8, static_cast<uint32_t>(image.size()));
  return image;
}

std::string Plain(int32_t version, const std::string& body) {
  IndexWriter w;
  w.U32(kIndexMagic);
  w.I32(version);
  w.I32(static_cast<int32_t>(12 + body.size()));
  w.Raw(body);
  return w.Bytes();
}

std::string Image(int32_t version, const std::string& body) {
  return version >= 34 ? Seeded(version, body) : Plain(version, body);
}

// One record as a file of `version` lays it out, written by hand from the format rules.
void OldRecord(IndexWriter& w, int32_t version, const KUID& kuid, const char* database, bool with_resource) {
  w.Kuid(kuid);
  for (const char* text : {"CLS", "name", "AU", "1950s", "kw", ""}) w.Text(text);
  w.Text(with_resource ? "base/x" : "");
  w.InternedText(database);
  w.Text("local/x");
  w.Kuid(KUID::Null());
  for (int bit = 0; bit < 8; ++bit) w.Bool(true);                      // state flags
  for (int bit = 0; bit < 8; ++bit) {                                  // check flags
    if ((bit == 4 && version < 28) || (bit == 7 && version < 23)) continue;
    w.Bool(true);
  }
  if (version >= 23) w.Bool(true);                                     // stamp flag
  for (int bit : {2, 3, 4, 0, 1})
    if (bit >= 2 || version >= 29) w.Bool(true);
  if (version >= 33) w.Bool(true);                                     // extra flag
  w.I32(250);
  w.F32(2.5f);
  w.U8(4);
  w.I64(100);
  w.I64(200);
  w.Text("t6");
  w.Text("");
  if (version >= 21) w.I32(777);
}

// Everything after the records for `version`, written by hand; `level_byte` for versions
// before 42.
void OldTail(IndexWriter& w, int32_t version, uint8_t level_byte) {
  w.I32(0);  // map 1: one entry
  w.Kuid(KUID{3, 3, 0});
  w.Kuid(KUID{4, 4, 0});
  w.Kuid(KUID::Null());
  if (version >= 26) {
    w.I32(0);
    w.Kuid(KUID{5, 5, 0});
    w.Kuid(KUID{6, 6, 0});
    w.Kuid(KUID::Null());
  }
  w.I16(1);
  w.I32(0);  // dependency table
  w.I32(0);
  w.I32(1);  // table b
  w.InternedText("b-item");
  w.I32(1);
  w.I32(2);
  if (version >= 35) {
    w.I16(0);
    w.I32(3);
    w.I32(0);
  }
  if (version >= 24 && version <= 37) w.InternedText("skipped one");
  if (version == 36) w.InternedText("skipped two");
  if (version >= 36) w.Bool(true);
  if (version >= 38) w.ChumpBlock({});
  if (version >= 40) w.ChumpBlock({});
  if (version >= 25) w.Bool(true);
  if (version >= 30 && version <= 40) {
    w.I32(-9);
    w.I32(-9);
  }
  if (version >= 41) w.ChumpBlock({});
  if (version >= 31) {
    w.I32(31);
    w.I32(32);
  }
  if (version >= 27) w.ChumpBlock({});
  w.ChumpBlock({});
  w.I32(0);
  w.I32(0);  // no archive lists
  if (version >= 32) {
    w.I32(41);
    w.I32(42);
  }
  if (version <= 31) w.I32(-9);
  w.I32(1);
  w.Text("dl");
  w.I64(5);
  w.I32(0);
  w.I32(0);
  w.I32(7);
  w.F32(1.5f);
  w.U32(0xDEADD00D);
  for (int i = 0; i < 8; ++i) w.U8(static_cast<uint8_t>(i));
  if (version >= 42) {
    w.I32(100);
  } else {
    w.U8(level_byte);
  }
}

std::string OldFile(int32_t version, const char* database = "local", uint8_t level_byte = 1) {
  IndexWriter w;
  w.I32(2);
  OldRecord(w, version, KUID{7, 2, 0}, database, true);
  OldRecord(w, version, KUID{7, 1, 0}, database, false);  // out of order on purpose
  OldTail(w, version, level_byte);
  return Image(version, w.Bytes());
}

TEST(IndexFile, ReadsEveryAcceptedVersionWithItsRules) {
  for (int32_t version = 20; version <= 42; ++version) {
    SCOPED_TRACE(version);
    if (version == 37 || version == 39) continue;
    AssetIndex index;
    ASSERT_TRUE(ReadImage(index, OldFile(version))) << version;
    ASSERT_EQ(index.Size(), 2u);
    EXPECT_EQ(index.At(0).kuid, (KUID{7, 1, 0}));  // sorted after the read
    const AssetRecord& with = *index.Get(KUID{7, 2, 0});
    const AssetRecord& without = *index.Get(KUID{7, 1, 0});
    EXPECT_EQ(with.state_flags, 0xFF);
    EXPECT_EQ(without.state_flags, 0x7F);  // package-item bit needs a resource path
    uint8_t check = 0xFF;
    if (version < 28) check &= ~0x10;
    if (version < 23) check &= ~0x80;
    EXPECT_EQ(with.check_flags, check);
    EXPECT_EQ(without.check_flags, check & ~0x01);  // built-in bit likewise
    EXPECT_EQ(with.stamp == index.CurrentStamp(), version >= 23);
    EXPECT_EQ(with.permission_flags, version >= 29 ? 0x1F : 0x1C);
    EXPECT_EQ(with.extra_flag, version >= 33);
    EXPECT_EQ(with.folder_signature, version >= 21 ? 777 : 0);
    EXPECT_EQ(with.build, 250);
    EXPECT_EQ(with.Text6(), "t6");
    const IndexExtras& x = index.Extras();
    EXPECT_EQ(x.kuid_map1.at(KUID{4, 4, 0}), (KUID{3, 3, 0}));
    EXPECT_EQ(x.kuid_map2.size(), version >= 26 ? 1u : 0u);
    EXPECT_EQ(x.table_c_value, version >= 35 ? 3 : 0);
    EXPECT_EQ(x.switch1, version >= 36);
    EXPECT_EQ(x.switch2, version >= 25);
    EXPECT_EQ(x.pair1[0], version >= 31 ? 31 : 0);
    EXPECT_EQ(x.pair2[1], version >= 32 ? 42 : 0);
    EXPECT_EQ(x.blocks[3].empty(), version < 27);
    EXPECT_EQ(x.download.text, "dl");
    EXPECT_EQ(x.tail_value, 7);
    EXPECT_EQ(x.generation[3], 3);
    EXPECT_EQ(x.validation_level, 100);
  }
}

TEST(IndexFile, OldFilesClearCommitRightForTheLegacyDatabase) {
  AssetIndex index;
  ASSERT_TRUE(ReadImage(index, OldFile(36, kLegacyNoCommitDatabase)));
  EXPECT_EQ(index.At(0).permission_flags & kPermitCommit, 0);
  ASSERT_TRUE(ReadImage(index, OldFile(38, kLegacyNoCommitDatabase)));
  EXPECT_EQ(index.At(0).permission_flags & kPermitCommit, kPermitCommit);
}

TEST(IndexFile, ValidationLevelByteAndItsChangeFlag) {
  AssetIndex index;  // starts at level 100
  ASSERT_TRUE(ReadImage(index, OldFile(41, "local", 0)));
  EXPECT_EQ(index.ValidationLevel(), 0);
  EXPECT_EQ(index.TakeChangeFlags(), kChangeValidationLevel);
  ASSERT_TRUE(ReadImage(index, OldFile(41, "local", 0)));
  EXPECT_EQ(index.TakeChangeFlags(), 0u);  // same level again: no flag
  ASSERT_TRUE(ReadImage(index, OldFile(41, "local", 7)));
  EXPECT_EQ(index.ValidationLevel(), 100);
}

TEST(IndexFile, RejectedFilesLeaveTheIndexEmpty) {
  AssetIndex good;
  good.Put(FullRecord(KUID{1, 2, 0}));
  std::string image = IndexImage(good);
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases;
  for (int32_t version : {19, 37, 39, 43}) {
    std::string v = OldFile(version == 19 ? 20 : version == 43 ? 42 : version == 37 ? 36 : 38);
    EncodeU32(reinterpret_cast<uint8_t*>(v.data()) + 4, static_cast<uint32_t>(version));
    cases.push_back({"version", v});
  }
  std::string magic = image;
  magic[0] ^= 1;
  cases.push_back({"magic", magic});
  std::string longer = image + "x";
  cases.push_back({"length word short of the file", longer});
  std::string shorter = image.substr(0, image.size() - 1);
  cases.push_back({"length word past the file", shorter});
  std::string truncated = image.substr(0, image.size() - 5);
  EncodeU32(reinterpret_cast<uint8_t*>(truncated.data()) + 8, static_cast<uint32_t>(truncated.size()));
  cases.push_back({"truncated body", truncated});
  cases.push_back({"too short for a header", image.substr(0, 11)});
  IndexWriter hostile;  // two billion records in a few bytes
  hostile.I32(0x7FFFFFFF);
  hostile.I32(0);
  cases.push_back({"record count", Image(42, hostile.Bytes())});

  for (const Case& c : cases) {
    AssetIndex index;
    index.Put(FullRecord(KUID{9, 9, 0}));
    EXPECT_FALSE(ReadImage(index, c.bytes)) << c.what;
    EXPECT_EQ(index.Size(), 0u) << c.what;
  }
}

TEST(IndexFile, FileRoundTripAndMissingFile) {
  qtest::TempFolder folder;
  AssetIndex index;
  index.Put(FullRecord(KUID{1, 2, 0}));
  std::string path = folder.Path() + "/assets.tdx";
  ASSERT_TRUE(WriteIndexFile(index, path));
  AssetIndex back;
  ASSERT_TRUE(ReadIndexFile(back, path));
  ExpectSameRecord(index.At(0), back.At(0));
  EXPECT_FALSE(ReadIndexFile(back, folder.Path() + "/none.tdx"));
  EXPECT_EQ(back.Size(), 0u);
}

}  // namespace
}  // namespace QETLib
