// LZSS stream layout shared by the encoder and the decoder: the header byte, the three
// windows, the length codes of the token forms and the alphabets of the adaptive Huffman form.
#pragma once
#include <cstdint>

namespace QETLib::lzss {

// Header byte: bits 4-5 window index, bits 0-3 level. Level 0 is a stored stream.
constexpr int kMaxLevel = 9;
inline uint8_t MakeHeader(int window, int level) { return static_cast<uint8_t>((window << 4) | level); }
inline int HeaderWindow(uint8_t header) { return (header >> 4) & 3; }
inline int HeaderLevel(uint8_t header) { return header & 15; }
// Bits 6-7 are never set by a writer.
inline bool HeaderValid(uint8_t header) {
  return (header & 0xC0) == 0 && HeaderWindow(header) <= 2 && HeaderLevel(header) <= kMaxLevel;
}

// Distance bits per window; the largest distance is 2^bits - 1 (distance 0 is never valid).
constexpr int kDistanceBits[3] = {8, 12, 14};
// Token form: bits of the 16-bit token above the distance hold the length code.
constexpr int kTokenLengthBits[3] = {0, 4, 2};
// Adaptive Huffman form: a distance is a 6-bit high part (tree symbol) and this many raw low bits.
constexpr int kLowBits[3] = {0, 6, 8};

constexpr int kMinMatch = 3;
constexpr int kByteLengthEscape = 7;  // byte form: three flag bits, all ones = length byte follows
constexpr int kMaxFlagMatch = 255 + kMinMatch;  // longest match the flag forms can state
constexpr int kMinLiteralRun = 3;
constexpr int kMaxLiteralRun = 255 + kMinLiteralRun;

// Adaptive Huffman alphabets.
constexpr int kLengthSymbolBase = 256;
constexpr int kLengthSymbols = 16;
constexpr int kEndSymbol = 272;
constexpr int kMainSymbols = 273;
constexpr int kDistanceSymbols = 64;
constexpr int kMaxFrequency = 0x7FFF;  // the root above this before an update halves the tree

struct LengthCode {
  uint16_t base;
  uint8_t extra_bits;
};
// Match length = base + extra value + 3, for the length symbols 256..271.
constexpr LengthCode kLengthCodes[kLengthSymbols] = {
    {0, 0},  {1, 0},  {2, 0},  {3, 0},  {4, 0},  {5, 1},  {7, 1},   {9, 2},
    {13, 2}, {17, 3}, {25, 3}, {33, 4}, {49, 4}, {65, 5}, {97, 5}, {129, 7}};
constexpr int kMaxHuffmanMatch = 129 + 127 + kMinMatch;  // 259

}  // namespace QETLib::lzss
