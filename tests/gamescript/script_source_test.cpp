// Scrambled sources: round trips through memory and files, and rejection of damaged blocks.
#include <gtest/gtest.h>

#include <string>

#include "engine/file.h"
#include "gamescript/script_source_file.h"
#include "support/installation.h"

using GSCompiler::ScriptSourceFile;

namespace {

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// A .gse file whose block, after the key is removed, is `plain_block`.
std::string GseWithBlock(std::string plain_block, uint32_t reserved = 0) {
  GSCompiler::ApplyScriptKey(plain_block.data(), plain_block.size());
  return Le32(reserved) + Le32(0) + Le32(static_cast<uint32_t>(plain_block.size())) + Le32(0) + plain_block;
}

}  // namespace

TEST(ScriptSource, RoundTripThroughFilesIsByteExact) {
  qtest::TempFolder dir;
  const std::vector<std::string> texts = {
      "x",  // shorter than anything the compressor can produce
      "class A { void f(void) { int i = 1; } };\r\n// \xEF\xBB\xBF with odd bytes \x01\xFF\n",
      std::string(100000, 'a') + std::string("\0\0tail", 6),
  };
  for (const std::string& text : texts) {
    const std::string gs = dir.Path() + "/s.gs";
    const std::string gse = dir.Path() + "/s.gse";
    ASSERT_TRUE(Orb::WriteWholeFile(gs, text));
    ScriptSourceFile source;
    ASSERT_TRUE(source.Read(Orb::PString(), gs));
    ASSERT_TRUE(source.Write(Orb::PString(), gse));
    EXPECT_TRUE(source.IsScrambled());

    std::string stored;
    ASSERT_TRUE(Orb::ReadWholeFile(gse, stored));
    ASSERT_GE(stored.size(), 16u);
    EXPECT_EQ(stored.substr(0, 8), std::string(8, '\0'));  // reserved 0, then 0
    EXPECT_EQ(stored.substr(8, 4), Le32(static_cast<uint32_t>(stored.size() - 16)));
    EXPECT_EQ(stored.find("class A"), std::string::npos);  // not readable as text

    ScriptSourceFile back;
    ASSERT_TRUE(back.Read(Orb::PString(), gse));
    EXPECT_TRUE(back.IsScrambled());
    ASSERT_TRUE(back.Unscramble());
    EXPECT_EQ(back.Text(), text);
    EXPECT_EQ(back.UnscrambledLength(), text.size());
  }
}

TEST(ScriptSource, RewritingKeepsReservedValueAndReplacesOldFile) {
  qtest::TempFolder dir;
  ScriptSourceFile source;
  source.SetText("class B {};");
  ASSERT_TRUE(source.Scramble());
  std::string block(source.Data());
  const std::string gse = dir.Path() + "/b.gse";
  std::string with_reserved = Le32(0xCAFEF00D) + Le32(0) + Le32(static_cast<uint32_t>(block.size())) + Le32(0) + block;
  ASSERT_TRUE(Orb::WriteWholeFile(gse, with_reserved + "trailing garbage"));

  ScriptSourceFile again;
  ASSERT_TRUE(again.Read(Orb::PString(), gse));
  EXPECT_EQ(again.Reserved(), 0xCAFEF00Du);
  ASSERT_TRUE(again.Write(Orb::PString(), gse));
  std::string stored;
  ASSERT_TRUE(Orb::ReadWholeFile(gse, stored));
  EXPECT_EQ(stored, with_reserved);  // the longer old file is gone, not overwritten in place

  // Writing as .gs unscrambles first.
  ASSERT_TRUE(again.Write(Orb::PString(), dir.Path() + "/b.gs"));
  ASSERT_TRUE(Orb::ReadWholeFile(dir.Path() + "/b.gs", stored));
  EXPECT_EQ(stored, "class B {};");
}

TEST(ScriptSource, DamagedBlocksAreRejected) {
  ScriptSourceFile good;
  good.SetText("class C { int a; };");
  ASSERT_TRUE(good.Scramble());
  std::string packed(good.Data());
  GSCompiler::ApplyScriptKey(packed.data(), packed.size());  // plain: length + zlib stream
  const std::string stream = packed.substr(4);

  struct Case {
    const char* what;
    std::string block;
  } cases[] = {
      {"empty block", ""},
      {"shorter than the length field", std::string("\x13\0", 2)},
      {"zero length", Le32(0) + stream},
      {"length above 64 MiB", Le32(0x4000001) + stream},
      {"length larger than the text", Le32(20) + stream},
      {"length smaller than the text", Le32(18) + stream},
      {"truncated stream", Le32(19) + stream.substr(0, stream.size() / 2)},
      {"not a stream at all", Le32(19) + std::string(40, 'z')},
  };
  qtest::TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.Path() + "/d.gse";
    ASSERT_TRUE(Orb::WriteWholeFile(path, GseWithBlock(c.block)));
    ScriptSourceFile source;
    ASSERT_TRUE(source.Read(Orb::PString(), path));
    EXPECT_FALSE(source.Unscramble());
    EXPECT_TRUE(source.Data().empty());
    EXPECT_FALSE(source.IsScrambled());
  }
  // The untouched block still works.
  const std::string path = dir.Path() + "/ok.gse";
  ASSERT_TRUE(Orb::WriteWholeFile(path, GseWithBlock(packed)));
  ScriptSourceFile source;
  ASSERT_TRUE(source.Read(Orb::PString(), path));
  ASSERT_TRUE(source.Unscramble());
  EXPECT_EQ(source.Text(), "class C { int a; };");
}

TEST(ScriptSource, ReadRefusesWrongExtensionsShortFilesAndLyingLengths) {
  qtest::TempFolder dir;
  auto put = [&](const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(Orb::WriteWholeFile(dir.Path() + "/" + name, bytes));
    return dir.Path() + "/" + name;
  };
  ScriptSourceFile source;
  EXPECT_FALSE(source.Read(Orb::PString(), put("a.txt", "class A {};")));
  EXPECT_FALSE(source.Read(Orb::PString(), dir.Path() + "/missing.gs"));
  EXPECT_FALSE(source.Read(Orb::PString(), put("short.gse", std::string(15, '\0'))));
  // The header promises more bytes than the file holds.
  EXPECT_FALSE(source.Read(Orb::PString(), put("lying.gse", Le32(0) + Le32(0) + Le32(0xFFFFFFF0) + Le32(0) + "abc")));
  EXPECT_FALSE(source.Read(Orb::PString(), put("lying2.gse", Le32(0) + Le32(0) + Le32(4) + Le32(0) + "abc")));
  EXPECT_TRUE(source.Read(Orb::PString(), put("Upper.GS", "class A {};")));  // extension case ignored
  EXPECT_FALSE(source.Write(Orb::PString(), dir.Path() + "/out.txt"));
  EXPECT_FALSE(Orb::File::Exists(dir.Path() + "/out.txt"));
}
