// LZSS encoder: picks the window and level for an input by the codec's rules and writes the
// stored, byte, token or adaptive Huffman form of the stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace QETLib::lzss {

// Window index and level an input of `size` bytes is coded with at the requested level;
// level 0 means a stored stream.
struct Form {
  int window = 0;
  int level = 0;
};
Form ChooseForm(size_t size, int level);

// Codes `in` in exactly the given form (window 0-2, level 0-9; level 0 gives a stored stream).
std::vector<uint8_t> EncodeForm(std::span<const uint8_t> in, Form form);

// Compresses `in` at `level` into `out` by the choice rules, falling back to a stored stream
// when the coded stream does not fit. Returns the stream length, 0 when not even that fits.
size_t Encode(std::span<const uint8_t> in, int level, std::span<uint8_t> out);

}  // namespace QETLib::lzss
