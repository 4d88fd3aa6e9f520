// Fuzz target: arbitrary bytes as a .gse file, loaded and unscrambled.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gamescript/script_source_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GSCompiler::ScriptSourceFile source;
  if (source.LoadScrambled(std::string_view(reinterpret_cast<const char*>(data), size))) {
    if (source.Unscramble()) {
      // A good block must scramble and unscramble back to the same text.
      std::string text(source.Text());
      if (!source.Scramble() || !source.Unscramble() || source.Text() != text) __builtin_trap();
    }
  }
  return 0;
}
