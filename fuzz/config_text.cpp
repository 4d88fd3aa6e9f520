// Fuzz target: arbitrary bytes as config text; the tree is written back as text and as
// chump, and the text written must read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "content/chump.h"
#include "content/tag_container.h"

using namespace QETLib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TagContainer c;
  ReadTextFromString(c, std::string_view(reinterpret_cast<const char*>(data), size));
  std::string text = WriteTextToString(c);
  TBuffer chump;
  c.WriteChump(chump);
  chump.Seek(0, TStream::kFromStart);
  TagContainer back;
  back.ReadChump(chump);
  (void)WriteTextToString(back);
  TagContainer again;
  ReadTextFromString(again, text);
  (void)WriteTextToString(again);
  return 0;
}
