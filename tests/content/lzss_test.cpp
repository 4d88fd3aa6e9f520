// LZSS codec: round trips of every form and level, the form choice rules, hand-made streams
// of the byte and token forms, and corrupt or oversized streams that must be rejected.
#include <gtest/gtest.h>

#include <cstring>

#include "content/lzss_compress.h"
#include "content/lzss_decoder.h"
#include "content/lzss_encoder.h"
#include "content/lzss_format.h"
#include "lzss_test_data.h"

namespace {

using Bytes = std::vector<uint8_t>;
using QETLib::lzss::Decode;
using QETLib::lzss::DecodeStatus;
using QETLib::lzss::Form;

DecodeStatus DecodeInto(const Bytes& stream, Bytes& out) { return Decode(stream, out); }

struct Input {
  const char* name;
  Bytes data;
};

std::vector<Input> Inputs() {
  std::vector<Input> v;
  v.push_back({"empty", {}});
  v.push_back({"one", {'x'}});
  v.push_back({"six", {'a', 'b', 'a', 'b', 'a', 'b'}});
  v.push_back({"text200", lzss_test::TextLike(200)});
  v.push_back({"rep256", lzss_test::Repetitive(256, 3)});
  v.push_back({"text5000", lzss_test::TextLike(5000)});
  v.push_back({"random5000", lzss_test::RandomBytes(5000)});
  v.push_back({"zeros70000", Bytes(70000, 0)});
  v.push_back({"mesh100k", lzss_test::MeshLike(100000)});
  v.push_back({"text300k", lzss_test::TextLike(300000, 9)});
  return v;
}

TEST(LZSS, EveryFormRoundTrips) {
  for (const Input& input : Inputs()) {
    for (int window = 0; window <= 2; ++window) {
      for (int level = 0; level <= 9; ++level) {
        Bytes stream = QETLib::lzss::EncodeForm(input.data, Form{window, level});
        ASSERT_FALSE(stream.empty());
        EXPECT_EQ(stream[0], level == 0 ? 0 : (window << 4 | level));
        Bytes out(input.data.size(), 0xCC);
        ASSERT_EQ(DecodeInto(stream, out), DecodeStatus::kOk) << input.name << " w" << window << " l" << level;
        EXPECT_TRUE(out == input.data) << input.name << " w" << window << " l" << level;
      }
    }
  }
}

TEST(LZSS, OneMegabyteAtEveryLevelThroughTheInterface) {
  QETLib::LZSSCompress codec;
  Bytes data = lzss_test::TextLike(1 << 20, 5);
  Bytes random = lzss_test::RandomBytes(1 << 20, 6);
  data.insert(data.end(), random.begin(), random.begin() + 200000);
  for (int level : {0, 1, 3, 4, 6, 7, 9, 12}) {
    Bytes stream(codec.MaxCompressedSize(data.size()));
    size_t n = codec.CompressBlock(data, stream, level);
    ASSERT_GT(n, 0u) << level;
    stream.resize(n);
    if (level > 0) {
      EXPECT_LT(n, data.size() * 3 / 4) << level;
    }
    Bytes out(data.size());
    ASSERT_TRUE(codec.DecompressBlock(stream, out)) << level;
    EXPECT_TRUE(out == data) << level;
  }
}

TEST(LZSS, FormChoiceRules) {
  struct Case {
    size_t size;
    int level;
    int window;
    int chosen_level;
  } cases[] = {
      {6, 9, 0, 0},          {7, 9, 0, 6},         {255, 9, 0, 6},       {255, 3, 0, 3},
      {256, 3, 0, 3},        {256, 9, 1, 9},       {257, 2, 1, 2},       {4096, 9, 1, 9},
      {4097, 9, 2, 9},       {4097, 3, 1, 3},      {100000, 0, 0, 0},    {100000, 15, 2, 9},
      {100000, 4, 2, 4},     {100000, -3, 0, 0},
  };
  for (const Case& c : cases) {
    Form f = QETLib::lzss::ChooseForm(c.size, c.level);
    EXPECT_EQ(f.window, c.window) << c.size << " at " << c.level;
    EXPECT_EQ(f.level, c.chosen_level) << c.size << " at " << c.level;
  }
}

TEST(LZSS, StoredWhenTheCodedStreamDoesNotFit) {
  Bytes random = lzss_test::RandomBytes(3000);
  Bytes out(random.size() + 1);
  size_t n = QETLib::lzss::Encode(random, 9, out);
  ASSERT_EQ(n, random.size() + 1);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(0, std::memcmp(out.data() + 1, random.data(), random.size()));
  Bytes too_small(random.size());
  EXPECT_EQ(QETLib::lzss::Encode(random, 9, too_small), 0u);
}

TEST(LZSS, HandMadeStreams) {
  struct Case {
    const char* name;
    Bytes stream;
    std::string expected;
  } cases[] = {
      // Byte form: literal, then length code 2 (bits 0,1,0) at distance 1 repeats the last byte.
      {"byte match", {0x01, 0x0A, 0, 0, 0, 'a', 1}, "aaaaaa"},
      // Byte form: length code 7 takes the next byte (20) as the code: 23 bytes.
      {"byte escape", {0x05, 0x1E, 0, 0, 0, 'x', 20, 1}, std::string(24, 'x')},
      // Token form, 12-bit distances: a run of six literals, a 6-byte match 6 back, one literal.
      {"token run", {0x11, 0x06, 0, 0, 0, 3, 'a', 'b', 'c', 'd', 'e', 'f', 0x06, 0x30, 'z'}, "abcdefabcdefz"},
      // Token form, 14-bit distances: length code 3 (all ones) takes the next byte: 103 bytes.
      {"token escape", {0x24, 0x04, 0, 0, 0, 'q', 0x01, 0xC0, 100}, std::string(104, 'q')},
  };
  for (const Case& c : cases) {
    Bytes out(c.expected.size());
    ASSERT_EQ(DecodeInto(c.stream, out), DecodeStatus::kOk) << c.name;
    EXPECT_EQ(std::string(out.begin(), out.end()), c.expected) << c.name;
  }
}

TEST(LZSS, SecondFlagWordIsReadWhenTheFirstIsUsedUp) {
  // 40 literals in the byte form: a flag word, 32 bytes, then the next word before byte 33.
  Bytes stream = {0x03, 0, 0, 0, 0};
  for (int i = 0; i < 32; ++i) stream.push_back(static_cast<uint8_t>('A' + i % 26));
  stream.insert(stream.end(), {0, 0, 0, 0});
  for (int i = 0; i < 8; ++i) stream.push_back('0' + i);
  Bytes out(40);
  ASSERT_EQ(DecodeInto(stream, out), DecodeStatus::kOk);
  EXPECT_EQ(out[31], 'A' + 31 % 26);
  EXPECT_EQ(out[32], '0');
  EXPECT_EQ(out[39], '7');
}

TEST(LZSS, CorruptStreamsAreRejected) {
  struct Case {
    const char* name;
    Bytes stream;
    size_t size;
    DecodeStatus status;
  } cases[] = {
      {"distance 0", {0x01, 0x0A, 0, 0, 0, 'a', 0}, 6, DecodeStatus::kBadDistance},
      {"before start", {0x01, 0x0A, 0, 0, 0, 'a', 2}, 6, DecodeStatus::kBadDistance},
      {"token distance 0", {0x11, 0x01, 0, 0, 0, 0x00, 0x30}, 6, DecodeStatus::kBadDistance},
      {"ends early", {0x01, 0x0A, 0, 0, 0, 'a', 1}, 7, DecodeStatus::kTruncated},
      {"half flag word", {0x01, 0x00, 0x00}, 1, DecodeStatus::kTruncated},
      {"short run", {0x11, 0x02, 0, 0, 0, 5, 'a', 'b'}, 8, DecodeStatus::kTruncated},
      {"stored short", {0x00, 'a', 'b'}, 3, DecodeStatus::kTruncated},
      {"empty stream", {}, 1, DecodeStatus::kTruncated},
      {"window 3", {0x31, 0, 0, 0, 0, 'a'}, 1, DecodeStatus::kBadHeader},
      {"level 10", {0x1A, 0, 0, 0, 0, 'a'}, 1, DecodeStatus::kBadHeader},
      {"top bits", {0x41, 0, 0, 0, 0, 'a'}, 1, DecodeStatus::kBadHeader},
      {"huffman no bits", {0x27}, 1, DecodeStatus::kTruncated},
  };
  for (const Case& c : cases) {
    Bytes out(c.size);
    EXPECT_EQ(DecodeInto(c.stream, out), c.status) << c.name;
  }
}

TEST(LZSS, HuffmanStreamEndingBeforeTheDeclaredSizeIsRejected) {
  Bytes data = lzss_test::TextLike(20000);
  Bytes stream = QETLib::lzss::EncodeForm(data, Form{2, 9});
  Bytes longer(data.size() + 1);
  EXPECT_NE(DecodeInto(stream, longer), DecodeStatus::kOk);  // meets the end symbol
  stream.resize(stream.size() / 2);
  Bytes out(data.size());
  EXPECT_EQ(DecodeInto(stream, out), DecodeStatus::kTruncated);
}

TEST(LZSS, DecodingStopsAtTheDeclaredSize) {
  Bytes data = lzss_test::TextLike(3000);
  for (int level : {0, 1, 5, 8}) {
    Bytes stream = QETLib::lzss::EncodeForm(data, Form{1, level});
    // Up to five unused bytes may follow a stream inside a package value.
    stream.insert(stream.end(), {0xFF, 0xFE, 0xFD, 0xFC, 0xFB});
    Bytes out(data.size());
    ASSERT_EQ(DecodeInto(stream, out), DecodeStatus::kOk) << level;
    EXPECT_TRUE(out == data);
    Bytes prefix(1000);
    ASSERT_EQ(DecodeInto(stream, prefix), DecodeStatus::kOk) << level;
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), data.begin()));
  }
}

TEST(LZSS, ImpossibleDeclaredSizeFailsUpFront) {
  Bytes stream = QETLib::lzss::EncodeForm(Bytes(100000, 7), Form{2, 9});
  EXPECT_LE(100000u, QETLib::lzss::MaxDecodedSize(stream.size()));
  EXPECT_LT(QETLib::lzss::MaxDecodedSize(40), 1u << 20);
  // A 4 GiB claim from a 40-byte stream is refused without touching the output.
  std::span<uint8_t> huge(static_cast<uint8_t*>(nullptr), size_t{1} << 32);
  EXPECT_EQ(Decode(Bytes(40, 0x11), huge), DecodeStatus::kTruncated);
}

TEST(LZSS, ZlibCodecThroughTheSameInterface) {
  const Orb::Compress& zlib = Orb::BlockCompressor();
  for (const Bytes& data : {Bytes{}, lzss_test::TextLike(10000)}) {
    Bytes stream(zlib.MaxCompressedSize(data.size()));
    size_t n = zlib.CompressBlock(data, stream, 9);
    ASSERT_GT(n, 0u);
    stream.resize(n);
    Bytes out(data.size());
    EXPECT_TRUE(zlib.DecompressBlock(stream, out));
    EXPECT_TRUE(out == data);
    Bytes wrong(data.size() + 1);
    EXPECT_FALSE(zlib.DecompressBlock(stream, wrong));
  }
}

}  // namespace
