#include "database/database_paths.h"

#include "database/layout.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

bool HasParentStep(const std::string& path) {
  size_t start = 0;
  for (;;) {
    size_t slash = path.find('/', start);
    if (path.compare(start, slash == std::string::npos ? std::string::npos : slash - start, "..") == 0) return true;
    if (slash == std::string::npos) return false;
    start = slash + 1;
  }
}

}  // namespace

bool ResolveDatabasePath(const std::string& folder, const std::string& path, std::string& full) {
  std::string p = Orb::Path::ReplaceBackSlashes(path);
  if (folder.empty()) {
    if (!Orb::Path::IsAbsolute(p)) return false;
    full = p;
    return true;
  }
  std::string root = InstallationRootFolder();
  std::string f = Orb::Path::ReplaceBackSlashes(folder);
  if (root.empty() || HasParentStep(f) || HasParentStep(p)) return false;
  full = Orb::Path::AddPath(root, f);
  if (!p.empty()) full = Orb::Path::AddPath(full, p);
  return true;
}

bool DatabaseMakeFolder(const std::string& folder, const std::string& path) {
  std::string full;
  return ResolveDatabasePath(folder, path, full) && Orb::File::Md(full);
}

bool DatabaseRename(const std::string& from_folder, const std::string& from, const std::string& to_folder,
                    const std::string& to) {
  std::string a, b;
  return ResolveDatabasePath(from_folder, from, a) && ResolveDatabasePath(to_folder, to, b) &&
         Orb::File::Rename(a, b);
}

bool DatabaseExists(const std::string& folder, const std::string& path) {
  std::string full;
  return ResolveDatabasePath(folder, path, full) && Orb::File::Exists(full);
}

bool DatabaseDelete(const std::string& folder, const std::string& path) {
  std::string full;
  if (!ResolveDatabasePath(folder, path, full)) return false;
  // Compared in normal form, so "ROOT/", "ROOT/." or "ROOT/local/.." count as the root.
  std::string normal = Orb::Path::DelSlash(Orb::Path::Normalize(full));
  std::string root = Orb::Path::DelSlash(Orb::Path::Normalize(InstallationRootFolder()));
  if (normal.size() <= root.size() || HasParentStep(normal)) return false;
  return Orb::File::Prune(normal) || Orb::File::Unlink(normal);
}

bool DatabaseIsUnderCache(const std::string& path) {
  return Orb::StartsWithIgnoreCase(Orb::Path::ReplaceBackSlashes(path), "/cache/");
}

}  // namespace QETLib
