// Little-endian fixed-width reads and writes over raw bytes; callers check bounds first
// (every read names the end it must not pass).
#pragma once
#include <cstdint>
#include <cstring>

namespace QETLib {

inline uint32_t DecodeU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void EncodeU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
// True (and the value) when four bytes are available before `end`.
inline bool GetU32(const uint8_t* p, const uint8_t* end, uint32_t& out) {
  if (p > end || end - p < 4) return false;
  out = DecodeU32(p);
  return true;
}
inline float DecodeFloat(const uint8_t* p) {
  uint32_t bits = DecodeU32(p);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
inline void EncodeFloat(uint8_t* p, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  EncodeU32(p, bits);
}

}  // namespace QETLib
