// Lays out a compiled library (.gsl) in memory: header and identity, dependencies, string
// table, class and function tables, and the code of the library's own classes.
#pragma once
#include <cstdint>

#include "gamescript/gs_compiled.h"
#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_output_buffer.h"
#include "gamescript/gs_string_table.h"

namespace GSCompiler {

inline constexpr uint32_t kLibraryMagic = 0xF762575D;

enum GSChunkId : uint32_t {
  GS_CHUNK_DEPENDENCIES = 2,
  GS_CHUNK_STRINGS = 3,
  GS_CHUNK_CLASSES = 4,
  GS_CHUNK_FUNCTIONS = 5,
  GS_CHUNK_CODE = 6,
  GS_CHUNK_CLASS = 7,
  GS_CHUNK_CLASS_FUNCTIONS = 8,
  GS_CHUNK_FUNCTION = 9,
  GS_CHUNK_MEMBERS = 10,
  GS_CHUNK_DISPATCH = 11,
  GS_CHUNK_LAYOUT = 12,
};

// Flags kept in the file: classes keep static, final and game; functions keep public,
// native, final, thread and constructor.
inline constexpr uint32_t kClassFlagMask = 0x4C;
inline constexpr uint32_t kFunctionFlagMask = 0x3B;
inline constexpr uint32_t kInitialiserFlags = 0x20;

// Writes `library` into `out`. Every name written is added to `strings` (names already
// there keep their ids). False when the buffer failed (it cannot grow, or a seek went past
// its end); the caller reports it.
bool WriteLibrary(GSOutputBuffer& out, const GSCLibrary& library, GSStringTable& strings);

}  // namespace GSCompiler
