// Zlib behind the engine's block-compression interface.
// Blocks are compressed and inflated in one call each; no state is kept between calls.
#include "engine/compress.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace Orb {

size_t ZlibCompress::CompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out, int level) const {
  if (in.size() > UINT_MAX || out.empty()) return 0;
  level = std::clamp(level, 0, 9);
  z_stream zs{};
  if (deflateInit(&zs, level) != Z_OK) return 0;
  zs.next_in = const_cast<Bytef*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(std::min<size_t>(out.size(), UINT_MAX));
  int rc = deflate(&zs, Z_FINISH);
  size_t written = zs.total_out;
  deflateEnd(&zs);
  return rc == Z_STREAM_END ? written : 0;
}

bool ZlibCompress::DecompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out) const {
  if (in.size() > UINT_MAX || out.size() > UINT_MAX) return false;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return false;
  zs.next_in = const_cast<Bytef*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  // inflate wants a non-null output pointer even for an empty block.
  uint8_t dummy = 0;
  zs.next_out = out.empty() ? &dummy : out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&zs, Z_FINISH);
  size_t written = zs.total_out;
  inflateEnd(&zs);
  return rc == Z_STREAM_END && written == out.size();
}

size_t ZlibCompress::MaxCompressedSize(size_t size) const {
  return compressBound(static_cast<uLong>(std::min<size_t>(size, ULONG_MAX - 1024)));
}

const Compress& BlockCompressor() {
  static const ZlibCompress zlib;
  return zlib;
}

}  // namespace Orb
