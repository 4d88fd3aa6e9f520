// String table lookups: a bucket is a short sorted list searched by binary search.
#include "gamescript/gs_string_table.h"

#include <algorithm>

namespace GSCompiler {

size_t GSStringTable::Bucket(std::string_view text) {
  // Unsigned arithmetic: bytes above 127 and long texts give negative or overflowing signed
  // sums, which must still land in a bucket.
  uint32_t h = 0;
  for (char c : text) h = static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))) + 3u * h;
  return h % kBuckets;
}

int64_t GSStringTable::Find(std::string_view text) const {
  const std::vector<uint32_t>& bucket = buckets_[Bucket(text)];
  auto it = std::lower_bound(bucket.begin(), bucket.end(), text,
                             [this](uint32_t id, std::string_view t) { return std::string_view(texts_[id]) < t; });
  if (it != bucket.end() && texts_[*it] == text) return *it;
  return -1;
}

uint32_t GSStringTable::Intern(std::string_view text) {
  std::vector<uint32_t>& bucket = buckets_[Bucket(text)];
  auto it = std::lower_bound(bucket.begin(), bucket.end(), text,
                             [this](uint32_t id, std::string_view t) { return std::string_view(texts_[id]) < t; });
  if (it != bucket.end() && texts_[*it] == text) return *it;
  uint32_t id = static_cast<uint32_t>(texts_.size());
  texts_.emplace_back(text);
  bucket.insert(it, id);
  return id;
}

void GSStringTable::Clear() {
  texts_.clear();
  buckets_.assign(kBuckets, {});
}

}  // namespace GSCompiler
