// Asset thumbnails: the image an asset shows for itself, found in its folder, scaled so
// its larger side has a given size, and written as a JPEG file.
#pragma once
#include <string>

#include "content/tag_container.h"

namespace QETLib {

// The asset's thumbnail image: the file its `thumbnail` tag names, else the `image` of the
// first entry of its `thumbnails` container, else thumbnail.jpg, .png, .bmp or .tga in the
// folder. Names are matched without regard to letter case and never lead out of the
// folder. "" when the asset has none.
std::string FindThumbnailImage(const std::string& asset_folder, const TagContainer& config);

enum class ThumbnailResult { kWritten, kNoImage, kFailed };

// Writes the asset's thumbnail scaled so that its larger side is `size` pixels to `output`
// as a JPEG. On kFailed, `error` says why.
ThumbnailResult WriteThumbnail(const std::string& asset_folder, const TagContainer& config, int size,
                               const std::string& output, std::string& error);

}  // namespace QETLib
