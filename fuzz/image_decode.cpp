// Fuzz target for image decoding (thumbnails and texture compression read images from
// asset folders and from the command line). A decoded image must have the size it claims,
// and small ones go on through scaling and JPEG encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "database/image_file.h"

using namespace QETLib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RGBAImage image;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!DecodeImage(bytes, image).empty()) return 0;
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) std::abort();
  if (static_cast<int64_t>(image.width) * image.height > 256 * 256) return 0;
  image.HasAlpha();
  std::string jpeg;
  if (!EncodeJpeg(ResizeImage(image, image.width / 2 + 1, image.height / 3 + 1), 75, jpeg)) std::abort();
  return 0;
}
