// compresstexture on real image files: the DDS header and mipmap chain, DXT1 or DXT5 by
// alpha, relative paths from the program folder, and images that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "frontend/test_images.h"
#include "support/installation.h"

namespace fs = std::filesystem;

namespace {

uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);  // the test machines are little-endian like the format
  return v;
}

// Bytes of a whole DXT mipmap chain down to 1 x 1.
size_t ChainSize(int width, int height, size_t block_bytes) {
  size_t total = 0;
  for (;;) {
    total += static_cast<size_t>(std::max(1, (width + 3) / 4)) * std::max(1, (height + 3) / 4) * block_bytes;
    if (width == 1 && height == 1) return total;
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
  }
}

struct Case {
  const char* name;
  const char* type;
  int width, height;
  bool alpha;
  const char* four_cc;
  size_t block_bytes;
  int levels;
};

class CompressTexture : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;
};

TEST_F(CompressTexture, WritesDdsWithMipmapsBesideTheImage) {
  const Case cases[] = {{"opaque", "png", 64, 32, false, "DXT1", 8, 7},
                        {"alpha", "png", 37, 20, true, "DXT5", 16, 6},
                        {"photo", "jpg", 16, 16, false, "DXT1", 8, 5},
                        {"decal", "tga", 8, 40, true, "DXT5", 16, 6},
                        {"strip", "bmp", 3, 1, false, "DXT1", 8, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string image = std::string("textures/") + c.name + "." + c.type;
    inst.WriteFile(image, qtest::MakeImage(c.type, c.width, c.height, c.alpha));
    auto r = inst.Run({"compresstexture", inst.PathOf(image)});
    EXPECT_EQ(r.exit_code, 0) << r.out;
    EXPECT_EQ(r.out, "OK (0 Errors, 0 Warnings)\n");
    std::string dds = inst.ReadFile(std::string("textures/") + c.name + ".dds");
    ASSERT_GE(dds.size(), 128u);
    EXPECT_EQ(dds.substr(0, 4), "DDS ");
    EXPECT_EQ(U32(dds, 4), 124u);                   // header size
    EXPECT_EQ(U32(dds, 8) & 0x20000u, 0x20000u);    // mipmap count is set
    EXPECT_EQ(U32(dds, 12), static_cast<uint32_t>(c.height));
    EXPECT_EQ(U32(dds, 16), static_cast<uint32_t>(c.width));
    EXPECT_EQ(U32(dds, 20), static_cast<uint32_t>(((c.width + 3) / 4) * ((c.height + 3) / 4) * c.block_bytes));
    EXPECT_EQ(U32(dds, 28), static_cast<uint32_t>(c.levels));
    EXPECT_EQ(U32(dds, 76), 32u);                   // pixel format size
    EXPECT_EQ(dds.substr(84, 4), c.four_cc);
    EXPECT_EQ(dds.size(), 128 + ChainSize(c.width, c.height, c.block_bytes));
  }
}

TEST_F(CompressTexture, RelativePathStartsAtTheProgramFolder) {
  inst.WriteFile("art/wall.png", qtest::MakeImage("png", 8, 8, false));
  auto r = inst.Run({"compresstexture", "../art/./wall.png"});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_TRUE(inst.Exists("art/wall.dds"));
}

TEST_F(CompressTexture, UnreadableImagesAreErrors) {
  inst.WriteFile("art/notes.png", "these are notes, not pixels");
  inst.WriteFile("art/cut.png", qtest::MakeImage("png", 32, 32, false).substr(0, 60));
  inst.WriteFile("art/empty.tga", "");
  struct Bad {
    const char* file;
    const char* message;
  } bad[] = {{"art/missing.png", "not found."},
             {"art/notes.png", "not a BMP, TGA, PNG or JPEG image."},
             {"art/cut.png", "the image data is damaged"},
             {"art/empty.tga", "the file is empty."}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.file);
    auto r = inst.Run({"compresstexture", inst.PathOf(b.file)});
    EXPECT_EQ(r.exit_code, 255);
    EXPECT_EQ(r.out.rfind("- <NULL> : ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(inst.PathOf(b.file)), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(b.message), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("OK (1 Errors, 0 Warnings)"), std::string::npos);
    EXPECT_FALSE(fs::exists(fs::path(inst.PathOf(b.file)).replace_extension(".dds")));
  }
  auto none = inst.Run({"compresstexture"});
  EXPECT_EQ(none.out, "- <NULL> : Missing AssetID parameter.\nOK (1 Errors, 0 Warnings)\n");
}

}  // namespace
