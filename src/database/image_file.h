// Raster images for thumbnails and texture compression: BMP, TGA, PNG and JPEG files
// decoded to 8-bit RGBA, resized, and encoded as JPEG.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace QETLib {

struct RGBAImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes, rows top to bottom

  // True when any pixel is not fully opaque.
  bool HasAlpha() const;
};

// Images larger than this many pixels are refused rather than decoded.
constexpr int64_t kMaxImagePixels = 64 * 1024 * 1024;

// Decodes an image held in memory. Returns "" on success, else why it could not be read.
std::string DecodeImage(std::string_view bytes, RGBAImage& image);
// Reads and decodes an image file; "" on success, else a message naming the file.
std::string ReadImageFile(const std::string& path, RGBAImage& image);

// The image scaled to `width` x `height` (both at least 1).
RGBAImage ResizeImage(const RGBAImage& image, int width, int height);

// Baseline JPEG of the image, transparent parts laid over white. False when encoding failed.
bool EncodeJpeg(const RGBAImage& image, int quality, std::string& out);

}  // namespace QETLib
