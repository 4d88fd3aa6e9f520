// Fuzz target: arbitrary bytes as a chump file, then a full walk, a text dump and a
// re-write of whatever tree came out.
#include <cstddef>
#include <cstdint>

#include "content/chump.h"
#include "content/tag_container.h"

using namespace QETLib;

namespace {
void Walk(ACSChunk* c, int depth) {
  c->ForEachChild([&](const ChildView& v) {
    if (v.chunk && v.type == kTypeContainer) Walk(v.chunk.Get(), depth + 1);
    return true;
  });
  uint32_t n = c->GetChildCount();
  for (uint32_t i = 0; i < n && i < 64; ++i) {
    ChunkRef child = c->GetChild(c->GetChildName(i));
    (void)TagContainer::ValueText(child.Get());
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBuffer in(std::string_view(reinterpret_cast<const char*>(data), size));
  TagContainer c;
  c.ReadChump(in);
  Walk(c.Root().Get(), 0);
  (void)WriteTextToString(c);
  TBuffer out;
  c.WriteChump(out);
  if (c.TagCount() > 0) {
    c.SetInt("added", 1);
    c.RemoveTag(std::string(c.TagName(0).View()));
    TBuffer again;
    c.WriteChump(again);
  }
  return 0;
}
