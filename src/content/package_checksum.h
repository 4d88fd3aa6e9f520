// The checksum of a package entry's "files" tree: a rotating sum of little-endian words
// over every file value, and its "dsid" text form.
#pragma once
#include <cstdint>
#include <string>

#include "content/tag_container.h"

namespace QETLib {

struct PackageSum {
  uint32_t length = 0;  // bytes counted: whole words of values longer than 4 bytes
  uint32_t sum = 0;
};

// Walks every binary value of `files`, containers recursively, children in index order.
PackageSum PackageChecksum(const TagContainer& files);
// "%d:%d" of (length, sum), both printed as signed numbers: the "dsid" tag of an entry.
std::string PackageChecksumText(const PackageSum& sum);
inline std::string PackageChecksumText(const TagContainer& files) { return PackageChecksumText(PackageChecksum(files)); }

// True when an entry's stored "dsid" equals the checksum of its "files" as they are now.
inline bool PackageChecksumMatches(const TagContainer& entry) {
  return entry.GetText("dsid") == PackageChecksumText(entry.GetContainer("files"));
}

}  // namespace QETLib
