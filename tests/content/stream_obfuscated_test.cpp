// The obfuscating stream: the exact byte transform, round trips through memory and files,
// modes, directions and random access.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/stream.h"
#include "content/stream_obfuscated.h"
#include "engine/file.h"
#include "support/installation.h"

using QETLib::ObfuscationKey;
using QETLib::TBuffer;
using QETLib::TStreamObfuscated;

namespace {

uint8_t Rotr(uint8_t v, unsigned n) { return static_cast<uint8_t>((v >> (n & 7)) | (v << ((8 - (n & 7)) & 7))); }

// The transform written out byte by byte, as the stored format defines it.
uint8_t Reference(uint8_t b, uint32_t p, uint32_t s) {
  uint8_t k = Rotr(static_cast<uint8_t>(s & 0xFF), (p / 3) % 8);
  unsigned n = (s + p) % 8;
  return static_cast<uint8_t>((p % 256) ^ Rotr(b, n) ^ k);
}

std::vector<uint8_t> Pattern(size_t n, uint32_t salt) {
  std::vector<uint8_t> v(n);
  uint32_t x = salt * 2654435761u + 1;
  for (auto& b : v) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return v;
}

}  // namespace

TEST(ObfuscationKey, MatchesTheByteFormulaAtEveryAlignmentAndAcrossTheWrap) {
  const uint32_t seeds[] = {0, 1, 7, 0x12345678, 0xFFFFFFFF, 0x800000A5};
  const uint32_t starts[] = {0, 1, 3, 5, 767, 768, 1000, 0xFFFFFFF0u, 0xFFFFFD00u + 3};
  const size_t lengths[] = {0, 1, 7, 8, 9, 63, 800, 2000};
  for (uint32_t s : seeds) {
    ObfuscationKey key(s);
    for (uint32_t p0 : starts) {
      for (size_t len : lengths) {
        std::vector<uint8_t> data = Pattern(len, s ^ p0);
        std::vector<uint8_t> work = data;
        key.Scramble(work.data(), work.size(), p0);
        for (size_t i = 0; i < len; ++i) {
          uint32_t p = p0 + static_cast<uint32_t>(i);  // wraps at 2^32 like the position
          ASSERT_EQ(work[i], Reference(data[i], p, s)) << "seed " << s << " p " << p;
        }
        key.Unscramble(work.data(), work.size(), p0);
        ASSERT_EQ(work, data);
      }
    }
  }
}

TEST(ObfuscationKey, SameByteAtPAndPPlus768ScramblesAlike) {
  ObfuscationKey key(0xBADC0DE5);
  for (uint32_t p = 0; p < 2000; p += 37) {
    for (int b = 0; b < 256; b += 51) {
      uint8_t x = static_cast<uint8_t>(b), y = static_cast<uint8_t>(b);
      key.Scramble(&x, 1, p);
      key.Scramble(&y, 1, p + 768);
      EXPECT_EQ(x, y);
    }
  }
  // ... but not at p + 256, where (p div 3) mod 8 may differ.
  std::vector<uint8_t> a(256, 0x5A), b(256, 0x5A);
  key.Scramble(a.data(), a.size(), 0);
  key.Scramble(b.data(), b.size(), 256);
  EXPECT_NE(a, b);
}

TEST(StreamObfuscated, RoundTripInPiecesWithSeedStoredPlain) {
  const std::vector<uint8_t> data = Pattern(5000, 3);
  TBuffer first, second;
  for (TBuffer* buffer : {&first, &second}) {
    TStreamObfuscated out;
    ASSERT_TRUE(out.Open(buffer, TStreamObfuscated::kScrambled, TStreamObfuscated::kWriting));
    EXPECT_EQ(out.Tell(), 4);
    // Uneven pieces: the transform must follow the absolute position, not the call.
    size_t at = 0;
    for (size_t step : {1u, 2u, 3u, 8u, 13u, 1000u, 3973u}) {
      ASSERT_EQ(out.Write(data.data() + at, step), step);
      at += step;
    }
    ASSERT_EQ(at, data.size());
    EXPECT_EQ(out.Tell(), 5004);
    ASSERT_EQ(buffer->Size(), 5004u);
    uint32_t seed = buffer->Data()[0] | buffer->Data()[1] << 8 | buffer->Data()[2] << 16 |
                    static_cast<uint32_t>(buffer->Data()[3]) << 24;
    EXPECT_EQ(seed, out.Seed());
    for (size_t i = 0; i < data.size(); i += 97)
      ASSERT_EQ(buffer->Data()[4 + i], Reference(data[i], static_cast<uint32_t>(4 + i), seed));
  }
  EXPECT_NE(first.View().substr(4), second.View().substr(4));  // fresh seed each time

  for (TBuffer* buffer : {&first, &second}) {
    buffer->Seek(0, QETLib::TStream::kFromStart);
    TStreamObfuscated in;
    ASSERT_TRUE(in.Open(buffer, TStreamObfuscated::kScrambled, TStreamObfuscated::kReading));
    std::vector<uint8_t> back(data.size());
    size_t at = 0;
    for (size_t step : {4001u, 7u, 992u}) at += in.Read(back.data() + at, step);
    EXPECT_EQ(at, data.size());
    EXPECT_EQ(back, data);
    EXPECT_EQ(in.Read(back.data(), 10), 0u);  // at the end
    // Random access: seeking resets the position from the wrapped stream.
    ASSERT_TRUE(in.Seek(4 + 1234, QETLib::TStream::kFromStart));
    uint8_t piece[20];
    ASSERT_EQ(in.Read(piece, sizeof piece), sizeof piece);
    EXPECT_EQ(std::vector<uint8_t>(piece, piece + 20), std::vector<uint8_t>(data.begin() + 1234, data.begin() + 1254));
  }
}

TEST(StreamObfuscated, ModesDirectionsAndMissingStream) {
  const std::string plain = "plain bytes";
  {  // mode 0: no seed, bytes unchanged
    TBuffer buffer;
    TStreamObfuscated s;
    ASSERT_TRUE(s.Open(&buffer, TStreamObfuscated::kPassThrough, TStreamObfuscated::kWriting));
    EXPECT_EQ(s.Write(plain.data(), plain.size()), plain.size());
    EXPECT_EQ(buffer.ToString(), plain);
    EXPECT_EQ(s.Tell(), static_cast<int64_t>(plain.size()));
  }
  {  // any other mode transfers nothing in either direction
    TBuffer buffer(plain);
    TStreamObfuscated s;
    ASSERT_TRUE(s.Open(&buffer, 7, TStreamObfuscated::kReading));
    char c[4];
    EXPECT_EQ(s.Read(c, 4), 0u);
    EXPECT_FALSE(s.Seek(0, QETLib::TStream::kFromStart));
    EXPECT_EQ(s.Error(), 0);
  }
  {  // wrong direction: nothing moves, error code 2
    TBuffer buffer;
    TStreamObfuscated w;
    ASSERT_TRUE(w.Open(&buffer, TStreamObfuscated::kScrambled, TStreamObfuscated::kWriting));
    char c[4];
    EXPECT_EQ(w.Read(c, 4), 0u);
    EXPECT_EQ(w.Error(), TStreamObfuscated::kWrongDirection);
    buffer.Seek(0, QETLib::TStream::kFromStart);
    TStreamObfuscated r;
    ASSERT_TRUE(r.Open(&buffer, TStreamObfuscated::kScrambled, TStreamObfuscated::kReading));
    EXPECT_EQ(r.Error(), 0);
    EXPECT_EQ(r.Write("abc", 3), 0u);
    EXPECT_EQ(r.Error(), TStreamObfuscated::kWrongDirection);
    EXPECT_EQ(buffer.Size(), 4u);
  }
  {  // a reading stream needs the whole seed
    TBuffer buffer(std::string("\x01\x02", 2));
    TStreamObfuscated r;
    EXPECT_FALSE(r.Open(&buffer, TStreamObfuscated::kScrambled, TStreamObfuscated::kReading));
  }
  {  // nothing wrapped
    TStreamObfuscated none;
    EXPECT_FALSE(none.Open(nullptr, TStreamObfuscated::kScrambled, TStreamObfuscated::kWriting));
    char c[4];
    EXPECT_EQ(none.Read(c, 4), 0u);
    EXPECT_EQ(none.Write(c, 4), 0u);
    EXPECT_EQ(none.Tell(), 0);
    EXPECT_EQ(none.GetSize(), 0);
    EXPECT_FALSE(none.IsOpen());
  }
}

TEST(StreamObfuscated, WritesAfterAFileReadAheadLandWhereTheTransformSaysSo) {
  qtest::TempFolder dir;
  const std::string path = dir.Path() + "/index.bin";
  ASSERT_TRUE(Orb::WriteWholeFile(path, std::string(100, 'h')));
  const std::vector<uint8_t> body = Pattern(300, 9);
  {
    QETLib::TFile file(path, Orb::File::kReadWrite);
    char header[10];
    ASSERT_EQ(file.Read(header, sizeof header), sizeof header);  // the file read ahead past 10
    TStreamObfuscated out;
    ASSERT_TRUE(out.Open(&file, TStreamObfuscated::kScrambled, TStreamObfuscated::kWriting));
    EXPECT_EQ(out.Tell(), 14);
    ASSERT_EQ(out.Write(body.data(), body.size()), body.size());
  }
  std::string stored;
  ASSERT_TRUE(Orb::ReadWholeFile(path, stored));
  ASSERT_EQ(stored.size(), 314u);
  EXPECT_EQ(stored.substr(0, 10), std::string(10, 'h'));
  QETLib::TFile file(path, Orb::File::kRead);
  ASSERT_TRUE(file.Seek(10, QETLib::TStream::kFromStart));
  TStreamObfuscated in;
  ASSERT_TRUE(in.Open(&file, TStreamObfuscated::kScrambled, TStreamObfuscated::kReading));
  std::vector<uint8_t> back(body.size());
  ASSERT_EQ(in.Read(back.data(), back.size()), back.size());
  EXPECT_EQ(back, body);
}
