// The compression benchmark corpus, made from a fixed seed: asset configuration texts,
// mesh-like vertex and index data, textures and icons as uncompressed images, and a script library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bench_corpus {

struct File {
  std::string name;
  std::vector<uint8_t> bytes;
};

std::vector<File> MakeCorpus();

}  // namespace bench_corpus
