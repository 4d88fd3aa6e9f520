// Saving and restoring the category keywords of every asset as a tag-container text file
// whose tag names are KUIDs.
#pragma once
#include <string>

namespace QETLib {

// Writes `file_name` (in the working folder when relative): one tag per record, in index order.
bool BackupKeywords(const std::string& file_name);
// Reads `path` and sets the category keywords of every known asset it names; unknown or
// unparsable names are skipped. Fails only when the file cannot be read.
bool ImportKeywords(const std::string& path);

}  // namespace QETLib
