// The asset record as the index file stores it, for every readable format version.
#pragma once
#include <cstdint>

#include "database/asset_record.h"
#include "database/index_coding.h"

namespace QETLib {

// Files up to version 36 granted commit rights to this resource database's assets in error;
// reading them clears that bit.
constexpr const char* kLegacyNoCommitDatabase = "data";

// Scratch room reused from record to record.
struct RecordScratch {
  std::string texts[AssetRecord::kTextFieldCount];
  std::string resource_database;
};

// Reads one record of a file of `version`; the stamp flag maps to `current_stamp` or 0.
// Leaves the keyword text rebuilt. Errors show as reader.Failed().
void ReadRecord(IndexReader& reader, int32_t version, int32_t current_stamp, RecordScratch& scratch,
                AssetRecord& record);
// Writes one record in the current format.
void WriteRecord(IndexWriter& writer, const AssetRecord& record, int32_t current_stamp);

// The fewest bytes one record of `version` occupies (for bounding counts read from a file).
size_t MinimumRecordBytes(int32_t version);

}  // namespace QETLib
