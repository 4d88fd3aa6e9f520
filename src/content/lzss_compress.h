// The content system's LZSS codec on the engine's block-compression interface, as used for
// the files inside content packages.
#pragma once
#include "engine/compress.h"

namespace QETLib {

class LZSSCompress final : public Orb::Compress {
 public:
  std::string_view Name() const override { return "LZSS"; }
  // Levels above 9 are lowered to 9; level 0, inputs of 6 bytes or fewer, and streams that
  // would not fit `out` give a stored stream.
  size_t CompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out, int level) const override;
  bool DecompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out) const override;
  // A stored stream always fits: one header byte more than the input.
  size_t MaxCompressedSize(size_t size) const override { return size + 1; }
};

}  // namespace QETLib
