// Texture compression: an image file turned into a DXT-compressed DDS texture with a full
// mipmap chain (DXT1 for opaque images, DXT5 when any pixel is transparent).
#pragma once
#include <string>

namespace QETLib {

struct TextureCompressResult {
  bool ok = false;
  std::string output;  // the DDS file written (or that would have been)
  std::string error;   // why not, when !ok
};

// Compresses the BMP, TGA, PNG or JPEG image at `image_path` into a ".dds" file of the same
// name beside it.
TextureCompressResult CompressTextureFile(const std::string& image_path);

}  // namespace QETLib
