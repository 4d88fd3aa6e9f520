// Finding, scaling and writing an asset's thumbnail image.
#include "database/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "database/image_file.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

constexpr int kJpegQuality = 90;

// Resolves a relative file name inside `folder`, one component at a time, each matched
// without regard to case. Absolute names and ".." are refused: a configuration never
// points outside its own asset.
std::string ResolveInFolder(const std::string& folder, std::string_view name) {
  std::string path = folder;
  std::string relative = Orb::Path::ReplaceBackSlashes(name);
  if (relative.empty() || relative[0] == '/') return "";
  size_t start = 0;
  while (start < relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    std::string part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (!Orb::Path::IsSafeComponent(part)) return "";
    path = Orb::FindNameIgnoreCase(path, part);
    if (path.empty()) return "";
  }
  return Orb::File::IsFolder(path) ? "" : path;
}

}  // namespace

std::string FindThumbnailImage(const std::string& asset_folder, const TagContainer& config) {
  std::vector<std::string> names;
  if (config.HasRoot()) {
    names.push_back(config.GetText("thumbnail"));
    TagContainer thumbnails = config.GetContainer("thumbnails");
    if (thumbnails.HasRoot() && thumbnails.TagCount() > 0)
      names.push_back(TagContainer(thumbnails.TagValue(0)).GetText("image"));
  }
  for (const char* ext : {"jpg", "png", "bmp", "tga"}) names.push_back(std::string("thumbnail.") + ext);
  for (const std::string& name : names) {
    if (name.empty()) continue;
    std::string found = ResolveInFolder(asset_folder, name);
    if (!found.empty()) return found;
  }
  return "";
}

ThumbnailResult WriteThumbnail(const std::string& asset_folder, const TagContainer& config, int size,
                               const std::string& output, std::string& error) {
  std::string source = FindThumbnailImage(asset_folder, config);
  if (source.empty()) return ThumbnailResult::kNoImage;
  RGBAImage image;
  error = ReadImageFile(source, image);
  if (!error.empty()) return ThumbnailResult::kFailed;
  const double scale = static_cast<double>(size) / std::max(image.width, image.height);
  const int width = std::max(1, static_cast<int>(std::lround(image.width * scale)));
  const int height = std::max(1, static_cast<int>(std::lround(image.height * scale)));
  std::string jpeg;
  if (!EncodeJpeg(ResizeImage(image, width, height), kJpegQuality, jpeg)) {
    error = Orb::Format("Unable to encode thumbnail of \"%s\".", source.c_str());
    return ThumbnailResult::kFailed;
  }
  if (!Orb::WriteFileAtomic(output, jpeg)) {
    error = Orb::Format("Unable to write thumbnail file \"%s\".", output.c_str());
    return ThumbnailResult::kFailed;
  }
  return ThumbnailResult::kWritten;
}

}  // namespace QETLib
