// Folder listing: entry kinds (file, folder, link to a folder, dangling link), the sorted
// order, and that a link to a folder is not taken for a folder to walk into.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "engine/file.h"
#include "support/installation.h"

TEST(ListFolder, KindsAndOrder) {
  qtest::TempFolder tmp;
  const std::string root = tmp.Path();
  ASSERT_TRUE(Orb::File::Md(root + "/b_folder/inner"));
  FILE* f = std::fopen((root + "/a_file.txt").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  ASSERT_EQ(::symlink((root + "/b_folder").c_str(), (root + "/c_link").c_str()), 0);
  ASSERT_EQ(::symlink((root + "/missing").c_str(), (root + "/d_dangling").c_str()), 0);

  std::vector<Orb::FindEntry> entries;
  ASSERT_TRUE(Orb::ListFolder(root, entries));
  struct Want {
    const char* name;
    bool folder, link;
  };
  const Want want[] = {{"a_file.txt", false, false}, {"b_folder", true, false}, {"c_link", false, true}, {"d_dangling", false, true}};
  ASSERT_EQ(entries.size(), std::size(want));
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(want[i].name);
    EXPECT_EQ(entries[i].name, want[i].name);
    EXPECT_EQ(entries[i].path, root + "/" + want[i].name);
    EXPECT_EQ(entries[i].is_folder, want[i].folder);
    EXPECT_EQ(entries[i].is_link, want[i].link);
  }
  EXPECT_FALSE(Orb::ListFolder(root + "/a_file.txt", entries));
  EXPECT_FALSE(Orb::ListFolder(root + "/missing", entries));
}
