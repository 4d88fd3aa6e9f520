// Fuzz target for the asset index reader. The first byte picks a format version; the rest is
// a body, framed with a correct header (and scrambled for seeded versions) so the fuzzer works
// on the body's fields. The bytes are also read as a whole file. A body that reads must
// write and read back with the same record count.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "content/coding.h"
#include "content/stream_obfuscated.h"
#include "database/index_file.h"

using namespace QETLib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    AssetIndex whole;
    ReadIndexImage(whole, data, size);
  }
  if (size < 1) return 0;
  int32_t version = 20 + data[0] % 23;
  std::string image(12, '\0');
  EncodeU32(reinterpret_cast<uint8_t*>(image.data()), kIndexMagic);
  EncodeU32(reinterpret_cast<uint8_t*>(image.data()) + 4, static_cast<uint32_t>(version));
  std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
  if (version >= 34) {
    image.append(4, '\0');  // seed 0
    ObfuscationKey(0).Scramble(reinterpret_cast<uint8_t*>(body.data()), body.size(), 16);
  }
  image += body;
  EncodeU32(reinterpret_cast<uint8_t*>(image.data()) + 8, static_cast<uint32_t>(image.size()));
  AssetIndex index;
  if (!ReadIndexImage(index, reinterpret_cast<const uint8_t*>(image.data()), image.size())) {
    if (index.Size() != 0) std::abort();
    return 0;
  }
  std::string again = IndexImage(index);
  AssetIndex back;
  if (!ReadIndexImage(back, reinterpret_cast<const uint8_t*>(again.data()), again.size())) std::abort();
  if (back.Size() != index.Size()) std::abort();
  return 0;
}
