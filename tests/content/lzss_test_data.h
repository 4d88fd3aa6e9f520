// Test inputs for the LZSS codec tests and benchmarks: text, random, repetitive and
// structured binary blocks made from a fixed seed.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lzss_test {

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed = 1) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

inline std::vector<uint8_t> TextLike(size_t n, uint32_t seed = 2) {
  static const char* kWords[] = {"kuid",   "mesh-table", "\"",    "default", "auto-create", "1", "0.5",
                                 "traincar", "bogey",      "track", "  ",      "\r\n",        "{", "}",
                                 "name",   "category",   "<kuid2:", ":",     "texture",     "lod"};
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < n) {
    s += kWords[rng() % 20];
    if (rng() % 3 == 0) s += std::to_string(rng() % 100000);
    s += ' ';
  }
  s.resize(n);
  return {s.begin(), s.end()};
}

inline std::vector<uint8_t> Repetitive(size_t n, size_t period = 7) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>('a' + i % period);
  return v;
}

// Float vertex records with small noise: the shape of mesh files.
inline std::vector<uint8_t> MeshLike(size_t n, uint32_t seed = 3) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v;
  v.reserve(n + 32);
  float x = 0;
  while (v.size() < n) {
    float rec[8] = {x, x * 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, static_cast<float>(rng() % 16) / 16.0f, 0.25f};
    x += 0.125f;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(rec);
    v.insert(v.end(), p, p + sizeof(rec));
  }
  v.resize(n);
  return v;
}

}  // namespace lzss_test
