// Fuzz target: arbitrary bytes as a compiled library, read and printed as gsldump would.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gamescript/gs_library_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GSCompiler::GSLibraryImage image;
  std::string error;
  if (GSCompiler::ReadLibrary(std::string_view(reinterpret_cast<const char*>(data), size), image, error)) {
    std::string text = GSCompiler::DumpLibrary(image);
    if (text.empty()) __builtin_trap();
  }
  return 0;
}
