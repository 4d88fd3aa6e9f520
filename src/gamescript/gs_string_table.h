// The library's string table: every name and string constant a library refers to, stored
// once, with ids handed out in order of first use.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace GSCompiler {

class GSStringTable {
 public:
  static constexpr size_t kBuckets = 61;

  GSStringTable() : buckets_(kBuckets) {}

  // The id of `text`, adding it with the next id when it is new.
  uint32_t Intern(std::string_view text);
  // The id of `text`, or -1 when it was never added.
  int64_t Find(std::string_view text) const;

  size_t Count() const { return texts_.size(); }
  const std::string& Text(uint32_t id) const { return texts_[id]; }
  const std::vector<std::string>& Texts() const { return texts_; }
  // Empties the table; every bucket starts again empty.
  void Clear();

  // h = c + 3h over the text's bytes taken as signed, kept in 32 unsigned bits, modulo 61.
  static size_t Bucket(std::string_view text);

 private:
  std::vector<std::vector<uint32_t>> buckets_;  // ids, each bucket sorted by text bytes
  std::vector<std::string> texts_;              // by id
};

}  // namespace GSCompiler
