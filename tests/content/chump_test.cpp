// Chump form: round trips, malformed files of every kind, views, the edit overlay.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "content/binary_file.h"
#include "content/chump.h"
#include "content/chunk_memory.h"
#include "content/coding.h"
#include "content/tag_container.h"

using namespace QETLib;

namespace {

std::string Le32(uint32_t v) {
  uint8_t b[4];
  EncodeU32(b, v);
  return std::string(reinterpret_cast<char*>(b), 4);
}

std::string Header(int32_t version, int32_t length) {
  return std::string("ACS$") + Le32(static_cast<uint32_t>(version)) + Le32(0) + Le32(static_cast<uint32_t>(length));
}

// One record: S, N, name and NUL, code, payload.
std::string Rec(const std::string& name, uint8_t code, const std::string& payload) {
  std::string body;
  body += static_cast<char>(name.size() + 1);
  body += name;
  body += '\0';
  body += static_cast<char>(code);
  body += payload;
  return Le32(static_cast<uint32_t>(body.size())) + body;
}

std::string File(int32_t version, const std::string& records) {
  return Header(version, static_cast<int32_t>(records.size())) + records;
}

TagContainer LoadBytes(const std::string& bytes) {
  TBuffer buffer(bytes);
  TagContainer c;
  EXPECT_TRUE(c.ReadChump(buffer));
  return c;
}

std::string SaveBytes(const TagContainer& c) {
  TBuffer buffer;
  EXPECT_TRUE(c.WriteChump(buffer));
  return buffer.ToString();
}

}  // namespace

TEST(Chump, RoundTripKeepsEveryNameTypeAndValue) {
  TagContainer c;
  c.SetInt("count", -7);
  c.SetFloatList("xyz", {1.5f, -2.25f, 3});
  c.SetString("name", "Gr\xC3\xBCn");
  c.SetString("empty", "");
  c.SetKUID("kuid", KUID{522, 100, 3});
  c.SetBinary("blob", std::string("\0\1\2", 3));
  c.AddEmptyTag("flag");
  TagContainer inner;
  inner.SetInt("a", 1);
  c.SetContainer("inner", inner);

  TagContainer back = LoadBytes(SaveBytes(c));
  ASSERT_EQ(back.TagCount(), 8u);
  const char* names[] = {"count", "xyz", "name", "empty", "kuid", "blob", "flag", "inner"};
  const int types[] = {kTypeInt, kTypeFloat, kTypeString, kTypeString, kTypeKUID, kTypeBinary, kTypeNull, kTypeContainer};
  for (uint32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(back.TagName(i).View(), names[i]);
    EXPECT_EQ(back.TagValue(i)->GetType(), types[i]) << names[i];
  }
  EXPECT_EQ(back.GetInt("count"), -7);
  EXPECT_EQ(back.GetFloatList("xyz"), (std::vector<float>{1.5f, -2.25f, 3}));
  EXPECT_EQ(back.GetText("name"), "Gr\xC3\xBCn");
  EXPECT_EQ(back.GetChunk("empty")->GetDataSize(), 0u);
  EXPECT_EQ(back.GetKUID("kuid"), (KUID{522, 100, 3}));
  int32_t type = 0;
  EXPECT_EQ(back.GetData("blob", &type)->View(), std::string("\0\1\2", 3));
  EXPECT_EQ(back.GetContainer("inner").GetInt("a"), 1);
  // And the bytes written again from the view are the same file.
  EXPECT_EQ(SaveBytes(back), SaveBytes(c));
}

TEST(Chump, EmptyContainerIsAHeaderWithZeroLength) {
  std::string bytes = SaveBytes(TagContainer());
  EXPECT_EQ(bytes, Header(1, 0));
  EXPECT_EQ(LoadBytes(bytes).TagCount(), 0u);
}

TEST(Chump, NamesOf254AreWrittenAnd255Dropped) {
  TagContainer c;
  c.SetInt(std::string(254, 'a'), 1);
  c.SetInt(std::string(255, 'b'), 2);
  TagContainer back = LoadBytes(SaveBytes(c));
  ASSERT_EQ(back.TagCount(), 1u);
  EXPECT_EQ(back.GetInt(std::string(254, 'a')), 1);
}

TEST(Chump, DuplicateNamesAreBothWrittenWithTheFirstValue) {
  Ref<QDBContainerTag> root(new QDBContainerTag());
  root->AddChild(Orb::PString("x"), root->CreateChunk(kTypeString, ACSRawDataCore::Copy("one", 4)));
  root->AddChild(Orb::PString("x"), root->CreateChunk(kTypeString, ACSRawDataCore::Copy("two", 4)));
  TBuffer out;
  ASSERT_TRUE(WriteChump(root.Get(), out));
  std::string expected = File(1, Rec("x", 3, std::string("one", 4)) + Rec("x", 3, std::string("one", 4)));
  EXPECT_EQ(out.ToString(), expected);
}

TEST(Chump, MalformedFilesLoadEmpty) {
  std::string good = Rec("a", 1, Le32(5));
  std::string nested = Rec("c", 0, Rec("a", 1, Le32(5)));
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"wrong magic", "ACSX" + File(1, good).substr(4)},
      {"zero length", Header(1, 0) + good},
      {"negative length", Header(1, -4) + good},
      {"2 GiB length", Header(1, INT32_MIN) + good},
      {"length beyond the file", Header(1, 1000) + good},
      {"largest length", Header(1, INT32_MAX) + good},
      {"version 2", File(2, good)},
      {"version -1", File(-1, good)},
      {"record past its list", File(1, Le32(50) + good.substr(4))},
      {"type byte outside the list", File(1, Le32(2) + std::string("\x30", 1) + "abcd")},
      {"name longer than its record", File(1, Le32(3) + std::string("\x05", 1) + "abcdefgh")},
      {"nested record past its list", File(1, Rec("c", 0, Le32(40) + std::string("\x02", 1) + "a" + '\0' + "\x01"))},
      {"short header", std::string("ACS$\1\0")},
      {"nothing", std::string()},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadBytes(c.bytes).TagCount(), 0u) << c.what;
  EXPECT_EQ(LoadBytes(File(1, nested)).GetContainer("c").GetInt("a"), 5);
}

TEST(Chump, DeepNestingLoadsEmpty) {
  std::string inner = Rec("v", 1, Le32(1));
  for (int i = 0; i < kMaxChumpDepth + 5; ++i) inner = Rec("n", 0, inner);
  EXPECT_EQ(LoadBytes(File(1, inner)).TagCount(), 0u);
}

TEST(Chump, UpToFiveStrayBytesAfterTheLastRecordAreIgnored) {
  std::string good = Rec("a", 1, Le32(5));
  EXPECT_EQ(LoadBytes(File(1, good + "12345")).GetInt("a"), 5);
  EXPECT_EQ(LoadBytes(File(1, good + "123456")).TagCount(), 0u);
}

TEST(Chump, LengthFromAFileIsNeverTrustedForAllocation) {
  // The file on disk claims 2 GiB - 1; loading must not try to allocate it.
  std::string path = ::testing::TempDir() + "/lying." + std::to_string(getpid()) + ".chump";
  ASSERT_TRUE(Orb::WriteWholeFile(path, Header(1, INT32_MAX) + "tiny"));
  TagContainer c;
  EXPECT_TRUE(c.Load(path));
  EXPECT_EQ(c.TagCount(), 0u);
}

TEST(Chump, CodesReadAsTheirTypes) {
  std::string records = Rec("pad", 12, std::string(32, '\x7')) + Rec("odd", 9, "xyz") + Rec("five", 5, "junk") +
                        Rec("f", 2, std::string("\0\0\xC0\x3F", 4)) + Rec("s", 3, "hi" + std::string(1, '\0'));
  TagContainer c = LoadBytes(File(1, records));
  ASSERT_EQ(c.TagCount(), 5u);
  ChunkRef pad = c.GetChunk("pad");
  EXPECT_EQ(pad->GetType(), kTypeBinary);
  // The payload starts 10 bytes into the 16-byte aligned block: 6 padding bytes go.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pad->GetData()) % 16, 0u);
  EXPECT_EQ(pad->GetDataSize(), 26u);
  EXPECT_EQ(c.GetChunk("odd")->GetType(), kTypeNull);
  EXPECT_EQ(c.GetChunk("odd")->GetDataSize(), 0u);
  EXPECT_EQ(c.GetChunk("five")->GetType(), kTypeNull);
  EXPECT_FLOAT_EQ(c.GetFloat("f"), 1.5f);
  EXPECT_EQ(c.GetText("s"), "hi");
}

TEST(Chump, Version0StringsAreConvertedVersion1KeptAsBytes) {
  std::string payload = std::string("caf\xE9", 4) + '\0';
  TagContainer v0 = LoadBytes(File(0, Rec("s", 3, payload)));
  EXPECT_EQ(v0.GetText("s"), "caf\xC3\xA9");
  TagContainer v1 = LoadBytes(File(1, Rec("s", 3, payload)));
  EXPECT_EQ(v1.GetText("s"), "caf\xE9");
  EXPECT_EQ(LoadBytes(File(0, Rec("e", 3, ""))).GetChunk("e")->GetType(), kTypeString);
  // A converted string can still be replaced on the loaded file.
  v0.SetString("s", "new");
  EXPECT_EQ(v0.GetText("s"), "new");
  EXPECT_EQ(v0.TagCount(), 1u);
}

TEST(Chump, ViewsOutliveTheirContainerHandle) {
  ChunkRef value;
  {
    TagContainer c = LoadBytes(File(1, Rec("a", 1, Le32(42))));
    value = c.GetChunk("a");
  }
  ASSERT_EQ(value->GetDataSize(), 4u);
  EXPECT_EQ(DecodeU32(value->GetData()), 42u);
}

TEST(Chump, OverlayAddsAndRemovesOnALoadedFile) {
  TagContainer c = LoadBytes(File(1, Rec("a", 1, Le32(1)) + Rec("b", 1, Le32(2)) + Rec("c", 1, Le32(3))));
  c.SetInt("a", 10);  // a stored record removed, an added entry appended
  c.RemoveTag("c");
  ASSERT_EQ(c.TagCount(), 2u);
  EXPECT_EQ(c.TagName(0).View(), "b");
  EXPECT_EQ(c.TagName(1).View(), "a");
  EXPECT_EQ(c.GetInt("a"), 10);
  TagContainer back = LoadBytes(SaveBytes(c));
  EXPECT_EQ(back.TagCount(), 2u);
  EXPECT_EQ(back.GetInt("a"), 10);
  EXPECT_EQ(back.GetInt("b"), 2);
}

TEST(Chump, LoadAndSaveChooseTheFormByExtension) {
  std::string dir = ::testing::TempDir();
  TagContainer c;
  c.SetString("k", "v");
  for (const char* name : {"a.chump", "a.CDP", "a.cdp2", "a.txt"}) {
    std::string path = dir + "/" + name;
    ASSERT_TRUE(c.Save(path)) << name;
    TagContainer back;
    ASSERT_TRUE(back.Load(path)) << name;
    EXPECT_EQ(back.GetText("k"), "v") << name;
  }
  std::string other = dir + "/never.dat";
  Orb::File::Unlink(other);
  EXPECT_FALSE(c.Save(other));
  EXPECT_FALSE(Orb::File::Exists(other));
  EXPECT_TRUE(c.Save(other, "txt"));
  TagContainer back;
  back.SetInt("kept", 1);
  EXPECT_FALSE(back.Load(other));
  EXPECT_EQ(back.GetInt("kept"), 1);
  EXPECT_FALSE(back.Load(dir + "/missing.txt"));
  EXPECT_TRUE(back.Load({}, other, "TXT"));
  EXPECT_EQ(back.GetText("k"), "v");
  EXPECT_FALSE(back.HasTag("kept"));
}
