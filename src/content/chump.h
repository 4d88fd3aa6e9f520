// The chump binary form of a chunk tree: reading a stream into a tree of views and
// writing any tree as a chump file.
#pragma once
#include "content/chunk.h"
#include "content/stream.h"

namespace QETLib {

// Loads a chump stream and returns its root: the null chunk when the content is unusable
// (wrong magic, bad length, short file, failed validation, unknown version).
ChunkRef ReadChump(TStream& stream);

// Writes `root` (a container) as a chump file: header, record list, patched lengths.
// False when a write fails.
bool WriteChump(ACSChunk* root, TStream& stream);

// Type code written for an in-memory value type.
uint8_t ChumpCodeForType(int32_t type);

}  // namespace QETLib
