// Copy-publish: copies an asset folder into a fresh temporary folder beside the destination
// and swaps it into place, so the destination always holds either the old or the new copy.
#pragma once
#include <string>

#include "content/package_folder.h"
#include "content/tag_container.h"

namespace QETLib {

struct PublishResult {
  bool ok = false;
  std::string error;  // why it failed, for the caller's log line
};

// Copies `source` to `destination`. In publish mode the configuration is written as
// config.chump, otherwise as config.txt. Files are taken by the package rules (names and
// extensions a package may carry). `log` receives the package layer's messages.
PublishResult CopyPublish(const std::string& source, const std::string& destination, bool publish,
                          const PackageLog& log = {});

// Reads an asset folder's configuration and the files beside it (config.txt and
// config.chump left out of `files`), applying the asset-filename rule of old builds.
bool CollectAssetFolder(const std::string& folder, std::string_view compression, const PackageLog& log,
                        TagContainer& config, TagContainer& files);

// Old content (quorix-build below 2.5) names its folder in asset-filename; a missing one
// is filled with the folder's own name.
void ApplyAssetFilenameRule(TagContainer& config, const std::string& folder);

}  // namespace QETLib
