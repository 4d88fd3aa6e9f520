// Reads a compiled library (.gsl) back into the writer's model, checking every length and
// bound; and prints it as text (header, tables and disassembled byte code) for developers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gamescript/gs_compiled.h"

namespace GSCompiler {

struct GSLibraryImage {
  uint32_t total_length = 0;
  float version = 0;
  uint32_t source_crc = 0;
  uint32_t name_crc = 0;
  std::vector<std::string> strings;  // by id
  GSCLibrary library;                // names resolved through the string table
};

// Parses `bytes`. On failure returns false with a short reason in `error`.
bool ReadLibrary(std::string_view bytes, GSLibraryImage& image, std::string& error);

// One line per header field, table entry and instruction.
std::string DumpLibrary(const GSLibraryImage& image);
// Disassembles one function's byte code, one instruction per line ("0004 push_32 7").
std::string Disassemble(const std::vector<uint8_t>& code, const std::vector<std::string>& strings);

}  // namespace GSCompiler
