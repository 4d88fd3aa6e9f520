// TFile read-ahead, bypass, write position after reads, error flag and Clear; TBuffer seeks.
#include <gtest/gtest.h>
#include <unistd.h>

#include "content/stream.h"
#include "engine/file.h"

using namespace QETLib;

namespace {
std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}
}  // namespace

TEST(TFile, ReadsSmallAndLargeRequestsAndWritesWhereTheReaderStands) {
  std::string path = ::testing::TempDir() + "/tfile.bin." + std::to_string(getpid());
  std::string data = Pattern(20000);
  ASSERT_TRUE(Orb::WriteWholeFile(path, data));
  TFile f(path, Orb::File::kReadWrite);
  ASSERT_TRUE(f.IsOpen());
  EXPECT_EQ(f.GetSize(), 20000);
  char small[10];
  ASSERT_EQ(f.Read(small, 10), 10u);  // fills the read-ahead
  EXPECT_EQ(std::string(small, 10), data.substr(0, 10));
  EXPECT_EQ(f.Tell(), 10);
  std::string big(9000, '\0');  // the rest past the bypass size comes straight from the file
  ASSERT_EQ(f.Read(big.data(), big.size()), big.size());
  EXPECT_EQ(big, data.substr(10, 9000));
  // A seek back right after a large read must not land in the old read-ahead.
  ASSERT_TRUE(f.Seek(-100, TStream::kFromCurrent));
  ASSERT_EQ(f.Read(small, 10), 10u);
  EXPECT_EQ(std::string(small, 10), data.substr(8910, 10));
  ASSERT_TRUE(f.Seek(5010, TStream::kFromStart));
  ASSERT_EQ(f.Read(small, 4), 4u);
  EXPECT_EQ(f.Tell(), 5014);
  ASSERT_EQ(f.Write("XY", 2), 2u);  // unread read-ahead is given back first
  EXPECT_EQ(f.Tell(), 5016);
  ASSERT_TRUE(f.Seek(-6, TStream::kFromCurrent));
  ASSERT_EQ(f.Read(small, 6), 6u);
  EXPECT_EQ(std::string(small, 6), data.substr(5010, 4) + "XY");
  EXPECT_FALSE(f.Error());
  ASSERT_TRUE(f.Seek(-3, TStream::kFromEnd));
  EXPECT_EQ(f.Read(small, 10), 3u);  // a short read sets the error flag
  EXPECT_TRUE(f.Error());
  EXPECT_TRUE(f.Eof());
  f.Close();
  std::string after;
  ASSERT_TRUE(Orb::ReadWholeFile(path, after));
  EXPECT_EQ(after.substr(5014, 2), "XY");
  EXPECT_EQ(after.size(), 20000u);
}

TEST(TFile, ClearTruncatesAndMissingFileIsNotOpen) {
  std::string path = ::testing::TempDir() + "/tfile_clear.bin." + std::to_string(getpid());
  ASSERT_TRUE(Orb::WriteWholeFile(path, "old contents"));
  {
    TFile f(path, Orb::File::kReadWrite);
    ASSERT_TRUE(f.Clear());
    EXPECT_EQ(f.GetSize(), 0);
    EXPECT_EQ(f.Write("new", 3), 3u);
  }
  std::string after;
  ASSERT_TRUE(Orb::ReadWholeFile(path, after));
  EXPECT_EQ(after, "new");
  TFile missing(::testing::TempDir() + "/no/such/file", Orb::File::kRead);
  EXPECT_FALSE(missing.IsOpen());
  char c;
  EXPECT_EQ(missing.Read(&c, 1), 0u);
  EXPECT_TRUE(missing.Error());
}

TEST(TFile, BorrowedFileStaysOpenPositionedAfterWhatWasRead) {
  std::string path = ::testing::TempDir() + "/tfile_borrow.bin." + std::to_string(getpid());
  ASSERT_TRUE(Orb::WriteWholeFile(path, Pattern(100)));
  Orb::File file;
  ASSERT_TRUE(file.Open(path, Orb::File::kRead));
  {
    TFile f(file);
    char b[5];
    ASSERT_EQ(f.Read(b, 5), 5u);
  }
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Tell(), 5);
}

TEST(TBuffer, GrowsSeeksAndReads) {
  TBuffer b;
  EXPECT_TRUE(b.WriteU32(0x04030201));
  EXPECT_TRUE(b.Seek(8, TStream::kFromStart));
  EXPECT_TRUE(b.WriteU8(9));
  EXPECT_EQ(b.Size(), 9u);
  EXPECT_EQ(b.GetSize(), 9);
  EXPECT_FALSE(b.Seek(-1, TStream::kFromStart));
  EXPECT_TRUE(b.Seek(0, TStream::kFromStart));
  uint32_t v = 0;
  EXPECT_TRUE(b.ReadU32(v));
  EXPECT_EQ(v, 0x04030201u);
  EXPECT_TRUE(b.Seek(-1, TStream::kFromEnd));
  uint8_t last = 0;
  EXPECT_TRUE(b.ReadU8(last));
  EXPECT_EQ(last, 9);
  EXPECT_TRUE(b.Eof());
  EXPECT_FALSE(b.ReadU8(last));
}
