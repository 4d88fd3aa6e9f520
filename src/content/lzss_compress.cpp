// LZSSCompress: the engine interface over the LZSS encoder and decoder.
// All work is in lzss_encoder.cpp and lzss_decoder.cpp.
#include "content/lzss_compress.h"

#include "content/lzss_decoder.h"
#include "content/lzss_encoder.h"

namespace QETLib {

size_t LZSSCompress::CompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out, int level) const {
  return lzss::Encode(in, level, out);
}

bool LZSSCompress::DecompressBlock(std::span<const uint8_t> in, std::span<uint8_t> out) const {
  return lzss::Decode(in, out) == lzss::DecodeStatus::kOk;
}

}  // namespace QETLib
