// The test program's own copy of the stb codecs, kept static so it never meets the
// program's copy in the asset library.
#include "frontend/test_images.h"

#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace qtest {

namespace {
void Append(void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); }
}  // namespace

std::string MakeImage(const std::string& type, int width, int height, bool alpha) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<unsigned char>(x * 255 / width);
      p[1] = static_cast<unsigned char>(y * 255 / height);
      p[2] = 96;
      p[3] = alpha && x < width / 2 ? 128 : 255;
    }
  std::string out;
  if (type == "png") stbi_write_png_to_func(Append, &out, width, height, 4, pixels.data(), width * 4);
  if (type == "jpg") stbi_write_jpg_to_func(Append, &out, width, height, 4, pixels.data(), 90);
  if (type == "tga") stbi_write_tga_to_func(Append, &out, width, height, 4, pixels.data());
  if (type == "bmp") stbi_write_bmp_to_func(Append, &out, width, height, 4, pixels.data());
  return out;
}

bool ImageSize(const std::string& bytes, int& width, int& height) {
  int channels = 0;
  return stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &width,
                               &height, &channels) != 0;
}

}  // namespace qtest
