// Package checksum: per value, words are added and the sum rotated left within 31 bits'
// worth (bit 31 falls off, bit 30 comes back as bit 0); a zero sum is always replaced by 1.
#include "content/package_checksum.h"

#include "engine/text.h"

namespace QETLib {
namespace {

PackageSum ValueSum(const uint8_t* data, uint32_t size) {
  if (size <= 4 || !data) return {};
  uint32_t words = size / 4;
  uint32_t s = 0;
  for (uint32_t i = 0; i < words; ++i) {
    const uint8_t* p = data + 4 * i;
    uint32_t w = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    s += w;
    s = (s << 1) | ((s >> 30) & 1);
  }
  if (s == 0) s = 1;
  return {words * 4, s};
}

void Walk(ACSChunk* container, PackageSum& total) {
  container->ForEachChild([&](const ChildView& child) {
    if (child.type == kTypeContainer) {
      if (child.chunk) Walk(child.chunk.Get(), total);
    } else if (child.type == kTypeBinary) {
      PackageSum one = ValueSum(child.data, child.size);
      total.length += one.length;
      total.sum += one.sum;
      if (total.sum == 0) total.sum = 1;
    }
    return true;
  });
}

}  // namespace

PackageSum PackageChecksum(const TagContainer& files) {
  PackageSum total;
  if (files.HasRoot()) Walk(files.Root().Get(), total);
  return total;
}

std::string PackageChecksumText(const PackageSum& sum) {
  return Orb::Format("%d:%d", static_cast<int32_t>(sum.length), static_cast<int32_t>(sum.sum));
}

}  // namespace QETLib
