// The compiler's string pool: open addressing over FNV-1a hashes, texts kept in block memory.
#include "gamescript/gs_string_pool.h"

#include <cstring>

namespace GSCompiler {

namespace {

uint32_t HashText(std::string_view text) {
  uint32_t h = 2166136261u;
  for (unsigned char c : text) h = (h ^ c) * 16777619u;
  return h;
}

}  // namespace

GSStringPool::GSStringPool() : memory_(32 * 1024) { Clear(); }

void GSStringPool::Clear() {
  memory_.Reset();
  slots_.assign(256, Entry{});
  count_ = 0;
  empty_ = Intern(std::string_view());
}

const char* GSStringPool::Intern(std::string_view text) {
  uint32_t hash = HashText(text);
  size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].text) {
    const Entry& e = slots_[i];
    if (e.hash == hash && e.length == text.size() && std::memcmp(e.text, text.data(), text.size()) == 0)
      return e.text;
    i = (i + 1) & mask;
  }
  char* copy = static_cast<char*>(memory_.Allocate(text.size() + 1, 1));
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  slots_[i] = Entry{copy, static_cast<uint32_t>(text.size()), hash};
  if (++count_ * 2 > slots_.size()) Grow();
  return copy;
}

void GSStringPool::Grow() {
  std::vector<Entry> old;
  old.swap(slots_);
  slots_.assign(old.size() * 2, Entry{});
  size_t mask = slots_.size() - 1;
  for (const Entry& e : old) {
    if (!e.text) continue;
    size_t i = e.hash & mask;
    while (slots_[i].text) i = (i + 1) & mask;
    slots_[i] = e;
  }
}

}  // namespace GSCompiler
