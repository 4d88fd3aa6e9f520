// The compiler's string pool: names and string constants are interned once per run, so two
// equal texts share one pointer and can be compared by identity.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "gamescript/gs_block_memory.h"

namespace GSCompiler {

class GSStringPool {
 public:
  GSStringPool();
  GSStringPool(const GSStringPool&) = delete;
  GSStringPool& operator=(const GSStringPool&) = delete;

  // Returns the pooled, NUL-terminated copy of `text`; the same pointer for the same text.
  // The text may not contain NUL bytes past its end (a NUL inside ends the pooled text early
  // for C readers, but the full bytes still key the entry).
  const char* Intern(std::string_view text);
  // The pooled empty text.
  const char* Empty() const { return empty_; }
  size_t Count() const { return count_; }
  // Drops every text (all pointers handed out become invalid).
  void Clear();

 private:
  struct Entry {
    const char* text = nullptr;
    uint32_t length = 0;
    uint32_t hash = 0;
  };
  void Grow();

  Utils::BlockMemory memory_;
  std::vector<Entry> slots_;
  size_t count_ = 0;
  const char* empty_ = nullptr;
};

}  // namespace GSCompiler
