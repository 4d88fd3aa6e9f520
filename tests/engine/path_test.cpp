#include "engine/path.h"

#include <gtest/gtest.h>

namespace P = Orb::Path;

TEST(Path, JoinAndSplit) {
  EXPECT_EQ(P::AddPath("/a/b", "c"), "/a/b/c");
  EXPECT_EQ(P::AddPath("/a/b/", "/c"), "/a/b/c");
  EXPECT_EQ(P::AddPath("", "c"), "c");
  EXPECT_EQ(P::DelName("/a/b/c.txt"), "/a/b/");
  EXPECT_EQ(P::DelName("c.txt"), "");
  EXPECT_EQ(P::PrevDir("/a/b/"), "/a/");
  EXPECT_EQ(P::PrevDir("/a/b"), "/a/");
  EXPECT_EQ(P::GetFileName("/a/b/c.txt"), "c.txt");
  EXPECT_EQ(P::DelSlash("/a/b//"), "/a/b");
  EXPECT_EQ(P::DelSlash("/"), "/");
  EXPECT_EQ(P::AddSlash("/a"), "/a/");
}

TEST(Path, Extensions) {
  EXPECT_EQ(P::GetExt("/a.b/c"), "");
  EXPECT_EQ(P::GetExt("/a/c.tar.gz"), "gz");
  EXPECT_TRUE(P::IsExt("x.CDP", "cdp"));
  EXPECT_FALSE(P::IsExt("x.cdp2", "cdp"));
  EXPECT_FALSE(P::IsExt("cdp", "cdp"));
  EXPECT_EQ(P::SetExt("/a/x.gs", "gse"), "/a/x.gse");
  EXPECT_EQ(P::SetExt("/a.b/x", "gse"), "/a.b/x.gse");
}

TEST(Path, Normalize) {
  EXPECT_EQ(P::Normalize("/a//b/./c/../d"), "/a/b/d");
  EXPECT_EQ(P::Normalize("/../a"), "/a");
  EXPECT_EQ(P::Normalize("a/../../b/"), "../b/");
  EXPECT_EQ(P::Normalize("C:\\x\\y"), "C:/x/y");
  EXPECT_EQ(P::MakeRelativeTo("/r/local/x", "/r"), "local/x");
  EXPECT_EQ(P::MakeRelativeTo("/rx/local", "/r"), "/rx/local");
}

TEST(Path, SafeComponents) {
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "x\ny"}) EXPECT_FALSE(P::IsSafeComponent(bad)) << bad;
  EXPECT_TRUE(P::IsSafeComponent("My Asset (2)"));
  EXPECT_FALSE(P::IsSafeComponent(std::string(300, 'a')));
  EXPECT_EQ(P::MakeSafeComponent("../x/y"), ".._x_y");
  EXPECT_EQ(P::MakeSafeComponent(".."), "");
  EXPECT_EQ(P::MakeSafeComponent("a:b\tc"), "a_b_c");
  EXPECT_EQ(P::MakeSafeComponent(std::string(500, 'z')).size(), 200u);
}
