// An asset folder as the "files" tree of a package entry: packing a folder (stored or
// LZSS per file), checking it without reading, and unpacking a tree back below a target folder.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/tag_container.h"

namespace QETLib {

// Message parameters, (name, value) pairs: the same shape as the results log's MessageParams.
using PackageParams = std::vector<std::pair<std::string, std::string>>;
// Receives the "$qad_package_..." message tags with their level (2 warning, 3 error). The
// content layer sits below the results log, so the caller passes the log in this form.
using PackageLog = std::function<void(int level, std::string_view tag, const PackageParams& params)>;

// Compression names of the "compression" tag.
inline constexpr std::string_view kCompressionLZSS = "LZSS";

// Builds `files` from the tree at `folder`; `compression` is "" (stored) or "LZSS".
// False when a folder or file could not be read or compressed (each logged).
bool PackFolder(const std::string& folder, std::string_view compression, const PackageLog& log, TagContainer& files);

// The name and extension checks of packing over the whole tree, reading no file.
// True only when nothing was reported.
bool CheckFolder(const std::string& folder, const PackageLog& log);

// Writes `files` below `target` (made if missing). Returns "" on success, else the message
// of the last failure; a failure in a sub-folder is passed up. Nothing is ever written
// outside `target`: bad names are passed over, and links found below it are not followed.
std::string UnpackFolder(const TagContainer& files, const std::string& target, std::string_view compression);

}  // namespace QETLib
