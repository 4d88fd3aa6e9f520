#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "engine/file.h"
#include "engine/process.h"
#include "engine/pstring.h"
#include "engine/text.h"
#include "support/installation.h"

TEST(PString, InternsByIdentity) {
  Orb::PString a("Hello"), b(std::string("Hel") + "lo"), c("hello");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(a.ToLower(), c);
  EXPECT_EQ(Orb::PString(), Orb::PString(""));
}

TEST(PString, NodeFreedWithLastReferenceUnderConcurrency) {
  size_t before = Orb::PString::CacheSize();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 20000; ++i) {
        Orb::PString s("race-" + std::to_string(i % 7));
        Orb::PString copy = s;
        EXPECT_EQ(copy.View().substr(0, 5), "race-");
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(Orb::PString::CacheSize(), before);
}

TEST(Text, CaseHelpers) {
  EXPECT_EQ(Orb::ToLower("AbC\xC4"), "abc\xC4");  // only ASCII letters fold
  EXPECT_TRUE(Orb::EqualsIgnoreCase("InstallCDP", "installcdp"));
  EXPECT_EQ(Orb::FindIgnoreCase("x $(File_Path) y", "$(FILE_PATH)"), 2u);
  EXPECT_EQ(Orb::Format("%s-%d", "a", 5), "a-5");
  EXPECT_EQ(Orb::Format("%s", std::string(1000, 'q').c_str()).size(), 1000u);
}

TEST(File, ReadWriteLinesAndTrees) {
  qtest::TempFolder dir;
  std::string path = dir.Path() + "/sub/deeper/f.txt";
  ASSERT_TRUE(Orb::File::Md(dir.Path() + "/sub/deeper"));
  ASSERT_TRUE(Orb::WriteWholeFile(path, std::string("one\r\n") + std::string(5000, 'x') + "\nlast"));
  Orb::File f;
  ASSERT_TRUE(f.Open(path, Orb::File::kRead));
  std::string line;
  ASSERT_TRUE(f.ReadLine(line));
  EXPECT_EQ(line, "one\r\n");
  ASSERT_TRUE(f.ReadLine(line));
  EXPECT_EQ(line.size(), 5001u);
  ASSERT_TRUE(f.ReadLine(line));
  EXPECT_EQ(line, "last");
  EXPECT_TRUE(f.Eof());
  EXPECT_FALSE(f.ReadLine(line));
  f.Close();

  // A link inside a pruned tree is removed, its target is not.
  qtest::TempFolder outside;
  ASSERT_TRUE(Orb::WriteWholeFile(outside.Path() + "/keep.txt", "keep"));
  ASSERT_EQ(symlink(outside.Path().c_str(), (dir.Path() + "/sub/link").c_str()), 0);
  EXPECT_TRUE(Orb::File::Prune(dir.Path() + "/sub"));
  EXPECT_FALSE(Orb::File::Exists(dir.Path() + "/sub"));
  EXPECT_TRUE(Orb::File::Exists(outside.Path() + "/keep.txt"));
}

TEST(File, AtomicWriteReplacesWhole) {
  qtest::TempFolder dir;
  std::string path = dir.Path() + "/a.bin";
  ASSERT_TRUE(Orb::WriteFileAtomic(path, "first"));
  ASSERT_TRUE(Orb::WriteFileAtomic(path, "second"));
  std::string got;
  ASSERT_TRUE(Orb::ReadWholeFile(path, got));
  EXPECT_EQ(got, "second");
  std::vector<Orb::FindEntry> entries;
  ASSERT_TRUE(Orb::ListFolder(dir.Path(), entries));
  EXPECT_EQ(entries.size(), 1u);  // no temporary left behind
  EXPECT_EQ(Orb::FindNameIgnoreCase(dir.Path(), "A.BIN"), path);
}

TEST(Process, AliveTest) {
  EXPECT_TRUE(Orb::Process::IsAlive(getpid()));
  EXPECT_TRUE(Orb::Process::IsAlive(1));  // not ours to signal, still alive
  EXPECT_FALSE(Orb::Process::IsAlive(-1));
  EXPECT_FALSE(Orb::Process::IsAlive(0));
}
