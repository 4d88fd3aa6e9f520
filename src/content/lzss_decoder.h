// LZSS decoder: reads any stored, byte, token or adaptive Huffman stream into a block of
// known size, rejecting malformed streams without touching memory outside either block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace QETLib::lzss {

enum class DecodeStatus {
  kOk,
  kBadHeader,    // window 3, level above 9 or the top bits set
  kTruncated,    // the stream ended before the declared size was reached
  kBadDistance,  // distance 0, or one reaching before the start of the output
};

// The largest output any stream of `stream_size` bytes can decode to: the densest code is a
// 259-byte match in 15 bits. A declared size above this is impossible and rejected up front,
// before a caller allocates room for it.
size_t MaxDecodedSize(size_t stream_size);

// Decodes `in` until `out` is full; stream bytes after that point are ignored. On failure the
// contents of `out` are unspecified.
DecodeStatus Decode(std::span<const uint8_t> in, std::span<uint8_t> out);

}  // namespace QETLib::lzss
