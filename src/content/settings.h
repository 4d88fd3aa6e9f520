// The download-station settings container (a tag-container text file under ROOT/settings)
// and the language code kept in it, shared by the front end and the network client.
#pragma once
#include <string>
#include <string_view>

#include "content/tag_container.h"

namespace QETLib {

// ROOT/settings/downloadstation.txt
std::string DownloadStationSettingsPath(const std::string& root);

// Loads the settings container; false (and an empty container) when there is no file.
bool LoadDownloadStationSettings(const std::string& root, TagContainer& settings);
// Writes the settings through a temporary file, making ROOT/settings when needed.
bool SaveDownloadStationSettings(const std::string& root, const TagContainer& settings);

// Tag `language` of the sub-container `internet`; "" when none is stored.
std::string ReadLanguageCode(const std::string& root);
// Stores `code`; the file is written only when the stored value differs. `changed` tells
// whether it did.
bool StoreLanguageCode(const std::string& root, std::string_view code, bool* changed = nullptr);

}  // namespace QETLib
