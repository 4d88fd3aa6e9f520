#include "database/copy_publish.h"

#include "database/folder_scan.h"
#include "database/temp_path.h"
#include "database/test_hooks.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

void DropConfigFiles(TagContainer& files) {
  for (uint32_t i = files.TagCount(); i-- > 0;) {
    std::string name(files.TagName(i).View());
    if (Orb::EqualsIgnoreCase(name, "config.txt") || Orb::EqualsIgnoreCase(name, "config.chump"))
      files.RemoveTag(name);
  }
}

// Puts `fresh` where `destination` is: in one step where the file system allows it, else
// by parking the old copy, moving the new one in and putting the old one back on failure.
bool SwapIntoPlace(const std::string& fresh, const std::string& destination, const std::string& parking) {
  if (!Orb::File::Exists(destination)) return Orb::File::Rename(fresh, destination);
  if (Orb::File::Exchange(fresh, destination)) {
    TestHookPoint("publish-swapped");
    Orb::File::Prune(fresh);  // now the old copy
    return true;
  }
  if (!Orb::File::Rename(destination, parking)) return false;
  if (Orb::File::Rename(fresh, destination)) {
    Orb::File::Prune(parking);
    return true;
  }
  Orb::File::Prune(fresh);
  Orb::File::Rename(parking, destination);
  return false;
}

}  // namespace

void ApplyAssetFilenameRule(TagContainer& config, const std::string& folder) {
  if (config.GetFloat("quorix-build", 0.0f) < 2.5f && !config.HasTag("asset-filename"))
    config.SetString("asset-filename", Orb::Path::GetFileName(Orb::Path::DelSlash(folder)));
}

bool CollectAssetFolder(const std::string& folder, std::string_view compression, const PackageLog& log,
                        TagContainer& config, TagContainer& files) {
  if (!LoadAssetConfig(folder, config)) return false;
  config.MakeWritable();
  files.MakeWritable();
  if (!PackFolder(folder, compression, log, files)) return false;
  DropConfigFiles(files);
  ApplyAssetFilenameRule(config, folder);
  return true;
}

PublishResult CopyPublish(const std::string& source, const std::string& destination, bool publish,
                          const PackageLog& log) {
  if (!HoldsAssetConfig(source)) return {false, "no configuration in " + source};
  std::string parent = Orb::Path::DelName(Orb::Path::DelSlash(destination));
  std::string fresh, parking;
  if (!CreateTemporaryFilePath("", parent, "temp", "", "", fresh) ||
      !CreateTemporaryFilePath("", parent, "temp", "", "", parking))
    return {false, "no temporary folder beside " + destination};

  TagContainer config, files;
  if (!CollectAssetFolder(source, "", log, config, files)) return {false, "unable to read " + source};
  std::string error = UnpackFolder(files, fresh, "");
  bool written = error.empty() && config.Save(Orb::Path::AddPath(fresh, publish ? "config.chump" : "config.txt"),
                                               publish ? "chump" : "txt");
  // Texture compression for publishing and texture preparation for editing belong to the
  // texture tools; the files are published as they are.
  TestHookPoint("publish-written");
  if (!written || !SwapIntoPlace(fresh, destination, parking)) {
    Orb::File::Prune(fresh);
    return {false, error.empty() ? "unable to write " + destination : error};
  }
  return {true, {}};
}

}  // namespace QETLib
