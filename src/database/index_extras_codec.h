// The index file's sections after the records: KUID-pair maps, the three further tables,
// switches and embedded blocks, archive lists, number pairs, the download-service state,
// the generation marker and the validation level, for every readable version.
#pragma once
#include <cstdint>

#include "database/index_coding.h"
#include "database/index_extras.h"

namespace QETLib {

constexpr uint32_t kGenerationMarker = 0xDEADD00D;

// Reads everything after the records of a file of `version` into `extras`. False (with the
// reader failed or the section refused) when the data does not hold together.
bool ReadIndexExtras(IndexReader& reader, int32_t version, IndexExtras& extras);
void WriteIndexExtras(IndexWriter& writer, const IndexExtras& extras);

}  // namespace QETLib
