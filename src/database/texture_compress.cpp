// DXT compression through the texture tools library: the decoded image goes in as BGRA,
// the library writes the DDS header and every mipmap level into memory, and the file is
// written in one step so a failure never leaves half a texture behind.
#include "database/texture_compress.h"

#include <nvtt/nvtt.h>

#include "database/image_file.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

class MemoryOutput : public nvtt::OutputHandler {
 public:
  void beginImage(int, int, int, int, int, int) override {}
  bool writeData(const void* data, int size) override {
    if (size > 0) bytes.append(static_cast<const char*>(data), static_cast<size_t>(size));
    return true;
  }
  std::string bytes;
};

class ErrorCatcher : public nvtt::ErrorHandler {
 public:
  void error(nvtt::Error e) override {
    if (message.empty()) message = nvtt::errorString(e);
  }
  std::string message;
};

}  // namespace

TextureCompressResult CompressTextureFile(const std::string& image_path) {
  TextureCompressResult result;
  result.output = Orb::Path::SetExt(image_path, "dds");
  RGBAImage image;
  result.error = ReadImageFile(image_path, image);
  if (!result.error.empty()) return result;

  std::vector<uint8_t> bgra(image.pixels);
  for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  nvtt::InputOptions input;
  input.setTextureLayout(nvtt::TextureType_2D, image.width, image.height);
  input.setFormat(nvtt::InputFormat_BGRA_8UB);
  input.setMipmapData(bgra.data(), image.width, image.height);
  input.setMipmapGeneration(true);
  const bool alpha = image.HasAlpha();
  input.setAlphaMode(alpha ? nvtt::AlphaMode_Transparency : nvtt::AlphaMode_None);

  nvtt::CompressionOptions compression;
  compression.setFormat(alpha ? nvtt::Format_DXT5 : nvtt::Format_DXT1);
  compression.setQuality(nvtt::Quality_Normal);

  MemoryOutput sink;
  ErrorCatcher errors;
  nvtt::OutputOptions output;
  output.setOutputHandler(&sink);
  output.setErrorHandler(&errors);
  output.setOutputHeader(true);

  nvtt::Compressor compressor;
  compressor.enableCudaAcceleration(false);
  if (!compressor.process(input, compression, output) || !errors.message.empty()) {
    result.error = Orb::Format("Unable to compress \"%s\": %s.", image_path.c_str(),
                               errors.message.empty() ? "unknown error" : errors.message.c_str());
    return result;
  }
  if (!Orb::WriteFileAtomic(result.output, sink.bytes)) {
    result.error = Orb::Format("Unable to write texture file \"%s\".", result.output.c_str());
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace QETLib
