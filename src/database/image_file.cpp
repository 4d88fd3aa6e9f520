// The image codecs come from the stb single-file libraries; this is the one unit that
// compiles their implementations. Only the four file types the content uses are enabled.
#include "database/image_file.h"

#include <climits>

#include "engine/file.h"
#include "engine/text.h"

#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_MAX_DIMENSIONS 65536
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace QETLib {

namespace {

// Image files above this size are not read: no texture or thumbnail comes near it.
constexpr size_t kMaxImageFileBytes = 256u * 1024 * 1024;

void AppendToString(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

}  // namespace

bool RGBAImage::HasAlpha() const {
  for (size_t i = 3; i < pixels.size(); i += 4)
    if (pixels[i] != 255) return true;
  return false;
}

std::string DecodeImage(std::string_view bytes, RGBAImage& image) {
  image = RGBAImage();
  if (bytes.empty()) return "the file is empty";
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return "the file is too large";
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) return "not a BMP, TGA, PNG or JPEG image";
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxImagePixels)
    return Orb::Format("the image is too large (%d x %d)", width, height);
  stbi_uc* decoded = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (!decoded) return Orb::Format("the image data is damaged (%s)", stbi_failure_reason());
  image.width = width;
  image.height = height;
  image.pixels.assign(decoded, decoded + static_cast<size_t>(width) * height * 4);
  stbi_image_free(decoded);
  return "";
}

std::string ReadImageFile(const std::string& path, RGBAImage& image) {
  if (!Orb::File::Exists(path)) return Orb::Format("Image file \"%s\" not found.", path.c_str());
  std::string bytes;
  if (!Orb::ReadWholeFile(path, bytes, kMaxImageFileBytes))
    return Orb::Format("Unable to read image file \"%s\".", path.c_str());
  std::string reason = DecodeImage(bytes, image);
  if (!reason.empty()) return Orb::Format("Unable to read image file \"%s\": %s.", path.c_str(), reason.c_str());
  return "";
}

RGBAImage ResizeImage(const RGBAImage& image, int width, int height) {
  RGBAImage out;
  out.width = width < 1 ? 1 : width;
  out.height = height < 1 ? 1 : height;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height * 4);
  stbir_resize_uint8_srgb(image.pixels.data(), image.width, image.height, 0, out.pixels.data(), out.width, out.height,
                          0, 4, 3, 0);
  return out;
}

bool EncodeJpeg(const RGBAImage& image, int quality, std::string& out) {
  out.clear();
  if (image.width <= 0 || image.height <= 0) return false;
  std::vector<uint8_t> rgb(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0, j = 0; j < rgb.size(); i += 4, j += 3) {
    const unsigned alpha = image.pixels[i + 3];
    for (int c = 0; c < 3; ++c)
      rgb[j + c] = static_cast<uint8_t>((image.pixels[i + c] * alpha + 255 * (255 - alpha) + 127) / 255);
  }
  return stbi_write_jpg_to_func(AppendToString, &out, image.width, image.height, 3, rgb.data(), quality) != 0 &&
         !out.empty();
}

}  // namespace QETLib
