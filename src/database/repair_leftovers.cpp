#include "database/repair_leftovers.h"

#include "engine/file.h"
#include "engine/path.h"

namespace QETLib {

bool IsPublishTempName(const std::string& name) {
  if (name.size() < 13 || name.compare(0, 4, "temp") != 0) return false;
  for (size_t i = 4; i < 12; ++i) {
    char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
  }
  for (size_t i = 12; i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

static void RemoveIn(const std::string& root, const std::string& relative, std::vector<std::string>& removed) {
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(Orb::Path::AddPath(root, relative), entries)) return;
  for (const Orb::FindEntry& e : entries) {
    if (!e.is_folder || e.is_link || !IsPublishTempName(e.name)) continue;
    if (Orb::File::Prune(e.path)) removed.push_back(relative + "/" + e.name);
  }
}

std::vector<std::string> RemoveLeftoverTempFolders(const std::string& root) {
  std::vector<std::string> removed;
  RemoveIn(root, "editing", removed);
  RemoveIn(root, "local", removed);
  std::vector<Orb::FindEntry> buckets;
  if (Orb::ListFolder(Orb::Path::AddPath(root, "local"), buckets)) {
    for (const Orb::FindEntry& bucket : buckets)
      if (bucket.is_folder && !bucket.is_link) RemoveIn(root, "local/" + bucket.name, removed);
  }
  return removed;
}

}  // namespace QETLib
