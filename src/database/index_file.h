// The asset index file: a plain 12-byte header (magic, version, total length), then the
// body, scrambled with a per-write seed from version 34 on. Writes are always version 42.
#pragma once
#include <cstdint>
#include <string>

#include "database/asset_index.h"

namespace QETLib {

constexpr uint32_t kIndexMagic = 0xCEEBA2DB;
constexpr int32_t kIndexVersion = 42;
constexpr int32_t kOldestIndexVersion = 20;

// True for the versions the reader accepts: 20 to 42 except 37 and 39.
bool IsReadableIndexVersion(int32_t version);

// Replaces the whole index with the file's contents. A wrong magic, version or length word,
// or a body that does not hold together, fails and leaves the index empty. After a good
// read the records are in index order, and a changed validation level raises flag 0x10.
bool ReadIndexFile(AssetIndex& index, const std::string& path);
// The same from bytes in memory (the whole file image).
bool ReadIndexImage(AssetIndex& index, const uint8_t* data, size_t size);

// Writes the index to `path` (created or truncated), bumping the generation. False when
// the file cannot be created or written completely.
bool WriteIndexFile(AssetIndex& index, const std::string& path);
// The whole file image, as WriteIndexFile would write it.
std::string IndexImage(AssetIndex& index);

}  // namespace QETLib
