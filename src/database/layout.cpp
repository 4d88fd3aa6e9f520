#include "database/layout.h"

#include <mutex>

#include "database/resource_database.h"
#include "engine/file.h"
#include "engine/file_subst.h"
#include "engine/log.h"
#include "engine/path.h"

namespace QETLib {

namespace {
std::mutex g_lock;
std::string g_root;
}  // namespace

const std::vector<std::string>& StartupFolders() {
  static const std::vector<std::string> folders = {
      "cache", "trash", "cache/bookmarks", "cache/libraries", "cache/syslibs", "cache/sessions",
      "cache/water", "local", "editing", "settings"};
  return folders;
}

const std::vector<std::string>& BuiltInFolders() {
  static const std::vector<std::string> folders = {
      "base", "builtin/1", "builtin/2", "builtin/3", "builtin/4", "builtin/kestrel", "builtin/lowmarsh",
      "builtin/tallowdale"};
  return folders;
}

std::string InstallationRootFolder() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_root;
}

void SetInstallationRootFolder(const std::string& root) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_root = root.empty() ? std::string() : Orb::Path::DelSlash(root);
}

bool SetUpInstallationFolders(const std::string& root) {
  if (root.empty() || !Orb::File::IsFolder(root)) return false;
  SetInstallationRootFolder(root);
  std::string stored = InstallationRootFolder();
  for (const std::string& folder : StartupFolders()) {
    std::string path = Orb::Path::AddPath(stored, folder);
    if (!Orb::File::Md(path)) Orb::Log::Printf("SetUpInstallationFolders> unable to make folder '%s'\n", path.c_str());
  }
  OpenResourceDatabases(stored);
  Orb::FileSubst::Add("scripts", Orb::Path::AddPath(stored, "scripts/"));
  Orb::FileSubst::Add("libraries", Orb::Path::AddPath(stored, "libraries/"));
  return true;
}

void TearDownInstallationFolders() {
  CloseResourceDatabases();
  Orb::FileSubst::Remove("scripts");
  Orb::FileSubst::Remove("libraries");
}

}  // namespace QETLib
