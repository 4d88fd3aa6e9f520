// Fuzz target: arbitrary bytes as a declared size and an LZSS stream of any window and level,
// decoded into a block of that size; and the same bytes coded in a chosen form and decoded back.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "content/lzss_decoder.h"
#include "content/lzss_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // Bytes 0-2: declared size (up to 1 MiB) and, in the top nibble, the form for the round trip.
  size_t declared = data[0] | (data[1] << 8) | (static_cast<size_t>(data[2] & 0x0F) << 16);
  int form = data[2] >> 4;
  std::span<const uint8_t> stream(data + 3, size - 3);
  if (declared <= QETLib::lzss::MaxDecodedSize(stream.size())) {
    std::vector<uint8_t> out(declared);
    QETLib::lzss::Decode(stream, out);
  }
  QETLib::lzss::Form f{form % 3, (form * 7 + static_cast<int>(declared)) % 10};
  std::vector<uint8_t> coded = QETLib::lzss::EncodeForm(stream, f);
  std::vector<uint8_t> back(stream.size());
  if (QETLib::lzss::Decode(coded, back) != QETLib::lzss::DecodeStatus::kOk) __builtin_trap();
  if (back != std::vector<uint8_t>(stream.begin(), stream.end())) __builtin_trap();
  return 0;
}
