#include "database/asset_folders.h"

#include "engine/path.h"

namespace QETLib {

std::string CommittedFolder(const AssetRecord& record, const std::string& root) {
  if (!record.LocalPath().empty()) return Orb::Path::AddPath(root, record.LocalPath());
  if (record.ResourcePath().empty()) return std::string();
  if (record.resource_database.View() == "local")
    return Orb::Path::AddPath(Orb::Path::AddPath(root, "local"), record.ResourcePath());
  return Orb::Path::AddPath(root, record.ResourcePath());
}

std::string EditingFolder(const AssetRecord& record, const std::string& root) {
  if (record.EditingPath().empty()) return std::string();
  return Orb::Path::AddPath(root, record.EditingPath());
}

}  // namespace QETLib
