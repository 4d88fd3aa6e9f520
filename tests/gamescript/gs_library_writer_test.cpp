// Library layout: exact header and chunk bytes, string table order and padding, code padding,
// the round trip through the reader, and failures of the buffer and of damaged files.
#include <gtest/gtest.h>

#include <cstring>

#include "gamescript/gs_library_reader.h"
#include "gamescript/gs_library_writer.h"
#include "gamescript/gs_opcodes.h"

using namespace GSCompiler;

namespace {

uint32_t U32At(std::string_view b, size_t at) {
  const auto* p = reinterpret_cast<const uint8_t*>(b.data() + at);
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

GSCFunction Function(const char* signature, std::vector<uint8_t> code) {
  GSCFunction f;
  f.signature = signature;
  f.flags = 0x1 | 0x4 | 0x80;  // public, plus bits the file does not keep
  f.parameters = 2;
  f.locals = 3;
  f.extra_slots = 1;
  f.max_depth = 5;
  f.dispatch_slot = 1;
  f.reference_slots = {2, 4};
  f.code = std::move(code);
  f.lines = {{0, 7}, {3, 8}};
  return f;
}

// Two classes: Base from an included unit (dependency 1), Loco of the main unit.
GSCLibrary Sample() {
  GSCLibrary lib;
  lib.source_path = "scripts/loco.gs";
  lib.dependencies = {{0x11111111, 0x22222222}, {0x33333333, 0x44444444}};
  lib.classes = {{1, "Base"}, {0, "Loco"}};
  lib.functions = {{0, "$void@Base::Stop()", 0}, {1, "$int@Loco::Go(int)", 1}};
  GSCClass loco;
  loco.name = "Loco";
  loco.class_number = 1;
  loco.flags = 0x40 | 0x1;  // game (kept) and public (dropped)
  loco.bases = {{0, 0, true, 2}};
  loco.functions.push_back(Function("$int@Loco::Go(int)", {OP_LOAD_LOCAL_V, 1, 0, OP_RETURN_V, OP_RETURN}));
  loco.initialiser.initialiser = true;
  loco.initialiser.signature = "::Loco()";
  loco.initialiser.extra_slots = 3;
  loco.initialiser.code = {OP_PUSH_STRING, 5, 0, OP_STORE_MEMBER_R, 2, 0, OP_RETURN};
  loco.members = {{"speed", 2, -1, true, 2}, {"name", 4, -1, false, 3}};
  loco.dispatch = {{0, 0}, {1, 0}};
  loco.member_slots = 4;
  loco.reference_slots = {3};
  lib.compiled.push_back(std::move(loco));
  return lib;
}

}  // namespace

TEST(GSStringTable, IdsInFirstUseOrderAndBucketsOfAnyBytes) {
  GSStringTable t;
  EXPECT_EQ(t.Intern("b"), 0u);
  EXPECT_EQ(t.Intern("a"), 1u);
  EXPECT_EQ(t.Intern("b"), 0u);
  EXPECT_EQ(t.Intern(""), 2u);
  EXPECT_EQ(t.Find("a"), 1);
  EXPECT_EQ(t.Find("c"), -1);
  // h = c + 3h: "ab" = 98 + 3 * 97 = 389 = 6 * 61 + 23.
  EXPECT_EQ(GSStringTable::Bucket("ab"), 23u);
  // Bytes above 127 count as negative, and long texts overflow: still a bucket in range.
  EXPECT_LT(GSStringTable::Bucket("\xFF\xFE\x80"), 61u);
  EXPECT_LT(GSStringTable::Bucket(std::string(500, '\xF0')), 61u);
  for (int i = 0; i < 500; ++i) EXPECT_EQ(t.Intern("n" + std::to_string(i)), 3u + i);
  for (int i = 0; i < 500; ++i) EXPECT_EQ(t.Find("n" + std::to_string(i)), 3 + i);
  t.Clear();
  EXPECT_EQ(t.Count(), 0u);
  EXPECT_EQ(t.Intern("a"), 0u);
}

TEST(GSLibraryWriter, HeaderAndTablesByteForByte) {
  GSCLibrary lib = Sample();
  GSStringTable strings;
  strings.Intern("already");  // names interned by code generation keep their ids
  GSOutputBuffer out;
  ASSERT_TRUE(WriteLibrary(out, lib, strings));
  std::string_view b = out.View();
  EXPECT_EQ(U32At(b, 0), b.size());
  EXPECT_EQ(U32At(b, 4), 0xF762575Du);
  float version;
  std::memcpy(&version, b.data() + 8, 4);
  EXPECT_FLOAT_EQ(version, 1.02f);
  EXPECT_EQ(U32At(b, 12), 0x11111111u);
  EXPECT_EQ(U32At(b, 16), 0x22222222u);
  EXPECT_EQ(U32At(b, 20), 16u);  // "scripts/loco.gs" and its NUL
  EXPECT_EQ(std::string(b.data() + 24, 16), std::string("scripts/loco.gs\0", 16));
  size_t at = 40;
  EXPECT_EQ(U32At(b, at), 8u + 4 + 16);  // dependency chunk
  EXPECT_EQ(U32At(b, at + 4), 2u);
  EXPECT_EQ(U32At(b, at + 8), 2u);
  at += U32At(b, at);
  // String table: ids in order of first use, offsets relative to the first text byte.
  ASSERT_EQ(U32At(b, at + 4), 3u);
  const std::vector<std::string> expected = {"already", "Base", "Loco", "$void@Base::Stop()", "$int@Loco::Go(int)",
                                             "::Loco()", "speed", "name"};
  ASSERT_EQ(U32At(b, at + 8), expected.size());
  ASSERT_EQ(strings.Texts(), expected);
  size_t texts = at + 12 + 4 * expected.size();
  uint32_t offset = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(U32At(b, at + 12 + 4 * i), offset);
    EXPECT_EQ(std::string(b.data() + texts + offset), expected[i]);
    offset += static_cast<uint32_t>(expected[i].size() + 1);
  }
  const uint32_t string_chunk = U32At(b, at);
  EXPECT_EQ(string_chunk % 4, 0u);
  for (size_t i = texts + offset; i < at + string_chunk; ++i) EXPECT_EQ(b[i], '\0');  // zero padding
  at += string_chunk;
  // Classes and functions tables.
  EXPECT_EQ(U32At(b, at + 4), 4u);
  EXPECT_EQ(U32At(b, at + 8), 2u);
  EXPECT_EQ(U32At(b, at + 12), 1u);  // Base declared by dependency 1
  EXPECT_EQ(U32At(b, at + 16), 1u);  // ... named by string 1
  at += U32At(b, at);
  EXPECT_EQ(U32At(b, at + 4), 5u);
  EXPECT_EQ(U32At(b, at + 8), 2u);
  at += U32At(b, at);
  EXPECT_EQ(U32At(b, at + 4), 6u);
  EXPECT_EQ(at + U32At(b, at), b.size());
}

TEST(GSLibraryWriter, ClassChunksReadBackAndDumpCompactly) {
  GSCLibrary lib = Sample();
  GSStringTable strings;
  GSOutputBuffer out;
  ASSERT_TRUE(WriteLibrary(out, lib, strings));
  GSLibraryImage image;
  std::string error;
  ASSERT_TRUE(ReadLibrary(out.View(), image, error)) << error;
  const std::string dump = DumpLibrary(image);
  const char* expected_class =
      "code \"Loco\" flags 0x40 slots 4\n"
      "  base 0 offset 0 size 2 direct\n"
      "  function \"$int@Loco::Go(int)\" returns 0/-1 flags 0x1 slot 1 P=2 L=3 T=1 D=5 refs [2 4]\n"
      "    0000 load_local_v 1\n"
      "    0003 return_v\n"
      "    0004 return\n"
      "    lines 0:7 3:8\n"
      "  initialiser \"::Loco()\" returns 0/-1 flags 0x20 slot -1 P=1 L=0 T=3 D=0 refs []\n"
      "    0000 push_string \"speed\"\n"
      "    0003 store_member_r 2\n"
      "    0006 return\n"
      "  member \"speed\" type 2 class -1 public slot 2\n"
      "  member \"name\" type 4 class -1 slot 3\n"
      "  dispatch 0.0 1.0\n"
      "  references [3]\n";
  EXPECT_NE(dump.find(expected_class), std::string::npos) << dump;
  EXPECT_NE(dump.find("dependency 1 33333333 44444444\n"), std::string::npos);
  // Frame words of Go: L+T+4, 1-P, L+T+1, D+L+T+4, P, L, T; code of 5 bytes padded with 0xFF.
  std::string_view b = out.View();
  size_t go = b.find(std::string("\x05\x00\x00\x00" "\x1F\x01\x00\x6E\x6D", 9));
  ASSERT_NE(go, std::string::npos);
  EXPECT_EQ(b.substr(go + 9, 3), "\xFF\xFF\xFF");
  EXPECT_EQ(b.substr(go + 12, 4), "lgbd");
  const int32_t frame[7] = {8, -1, 5, 13, 2, 3, 1};
  size_t frame_at = go - 4 * 3 - 28;  // before the reference table (count 2, slots 2 and 4)
  for (int i = 0; i < 7; ++i) EXPECT_EQ(static_cast<int32_t>(U32At(b, frame_at + 4 * i)), frame[i]) << i;
  // Layout chunk: slots + 3, 2 * bases + 1, per base 0 o -o 1 o+1 n, then 1 1 0, references.
  const uint32_t layout[] = {60, 12, 7, 3, 0, 0, 0, 1, 1, 2, 1, 1, 0, 1, 3};
  std::string words;
  for (uint32_t w : layout) words.append(reinterpret_cast<const char*>(&w), 4);
  EXPECT_EQ(b.substr(b.size() - words.size()), words);
}

TEST(GSLibraryWriter, EmptyClassStillHasMembersChunkAndInitialiser) {
  GSCLibrary lib;
  lib.source_path = "e.gs";
  lib.dependencies = {{1, 2}};
  lib.classes = {{0, "E"}};
  GSCClass e;
  e.name = "E";
  e.initialiser.initialiser = true;
  e.initialiser.signature = "::E()";
  e.initialiser.code = {OP_RETURN};
  lib.compiled.push_back(e);
  GSStringTable strings;
  GSOutputBuffer out;
  ASSERT_TRUE(WriteLibrary(out, lib, strings));
  GSLibraryImage image;
  std::string error;
  ASSERT_TRUE(ReadLibrary(out.View(), image, error)) << error;
  ASSERT_EQ(image.library.compiled.size(), 1u);
  EXPECT_TRUE(image.library.compiled[0].functions.empty());
  EXPECT_EQ(image.library.compiled[0].initialiser.signature, "::E()");
  EXPECT_TRUE(image.library.compiled[0].members.empty());
  EXPECT_EQ(image.library.dependencies.size(), 1u);
  EXPECT_EQ(image.source_crc, 1u);
}

TEST(GSLibraryWriter, BufferFailuresAreReported) {
  GSCLibrary lib = Sample();
  GSStringTable strings;
  GSOutputBuffer small(16, 100);  // cannot grow to the library's size
  EXPECT_FALSE(WriteLibrary(small, lib, strings));
  GSOutputBuffer b;
  b.WriteU32(1);
  EXPECT_FALSE(b.Seek(5));  // beyond the end
  EXPECT_TRUE(b.Failed());
  b.WriteU32(2);  // skipped after a failure
  EXPECT_EQ(b.Size(), 4u);
}

TEST(GSLibraryReader, EveryTruncationAndDamageIsRejected) {
  GSCLibrary lib = Sample();
  GSStringTable strings;
  GSOutputBuffer out;
  ASSERT_TRUE(WriteLibrary(out, lib, strings));
  std::string bytes(out.View());
  GSLibraryImage image;
  std::string error;
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    std::string part = bytes.substr(0, cut);
    if (part.size() >= 4) {  // keep the total length consistent so the chunks are what fails
      uint32_t n = static_cast<uint32_t>(part.size());
      std::memcpy(part.data(), &n, 4);
    }
    EXPECT_FALSE(ReadLibrary(part, image, error)) << cut;
  }
  // Flipping single bytes must never crash the reader (it may or may not notice).
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string damaged = bytes;
    damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
    ReadLibrary(damaged, image, error);
    if (ReadLibrary(damaged, image, error)) DumpLibrary(image);
  }
}
