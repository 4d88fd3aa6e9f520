// Block compression behind one small interface: a codec turns a whole block into a
// stream and back. Zlib lives here; other codecs (the content layer's LZSS) derive from it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Orb {

class Compress {
 public:
  virtual ~Compress() = default;
  virtual std::string_view Name() const = 0;

  // Compresses `in` at `level` into `out`. Returns the stream length, or 0 when the stream
  // does not fit into `out` or the codec fails.
  virtual size_t CompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out, int level) const = 0;

  // Decodes `in` into `out`, whose size is the block's known uncompressed size. Succeeds only
  // when exactly out.size() bytes were produced; never reads or writes outside either span.
  virtual bool DecompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out) const = 0;

  // Room a caller must give CompressBlock so that any input of `size` bytes fits.
  virtual size_t MaxCompressedSize(size_t size) const = 0;
};

// Zlib stream (RFC 1950) at levels 0-9: the engine's general block compressor.
class ZlibCompress final : public Compress {
 public:
  std::string_view Name() const override { return "zlib"; }
  size_t CompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out, int level) const override;
  bool DecompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out) const override;
  size_t MaxCompressedSize(size_t size) const override;
};

// The engine's default block compressor (zlib), shared and stateless.
const Compress& BlockCompressor();

}  // namespace Orb
