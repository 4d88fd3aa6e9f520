#include "database/resource_database.h"

#include <memory>
#include <mutex>

#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {
std::mutex g_lock;
std::vector<std::unique_ptr<QuorixResourceDatabase>> g_open;

// An entry names something inside the folder: no empty, "." or ".." components.
bool IsInsideEntry(const std::string& entry) {
  std::string e = Orb::Path::ReplaceBackSlashes(entry);
  size_t start = 0;
  bool any = false;
  while (start <= e.size()) {
    size_t slash = e.find('/', start);
    std::string part = e.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (part == "." || part == "..") return false;
    if (!part.empty()) any = true;
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return any;
}
}  // namespace

std::string QuorixResourceDatabase::PathOf(const std::string& entry) const {
  if (!IsInsideEntry(entry)) return std::string();
  return Orb::Path::AddPath(folder_, Orb::Path::ReplaceBackSlashes(entry));
}

bool QuorixResourceDatabase::Exists(const std::string& entry) const {
  std::string path = PathOf(entry);
  return !path.empty() && Orb::File::Exists(path);
}

bool QuorixResourceDatabase::Delete(const std::string& entry) const {
  std::string path = PathOf(entry);
  if (path.empty()) return false;
  return Orb::File::Prune(path) || Orb::File::Unlink(path);
}

const std::vector<std::string>& ResourceDatabaseNames() {
  static const std::vector<std::string> names = {"data", "video", "local", "trash", "editing", "cache", "settings"};
  return names;
}

void OpenResourceDatabases(const std::string& root) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_open.clear();
  for (const std::string& name : ResourceDatabaseNames())
    g_open.push_back(std::make_unique<QuorixResourceDatabase>(name, Orb::Path::AddPath(Orb::Path::DelSlash(root), name)));
}

void CloseResourceDatabases() {
  std::lock_guard<std::mutex> guard(g_lock);
  g_open.clear();
}

const QuorixResourceDatabase* FindResourceDatabase(const std::string& name) {
  std::lock_guard<std::mutex> guard(g_lock);
  for (const auto& db : g_open)
    if (Orb::EqualsIgnoreCase(db->Name(), name)) return db.get();
  return nullptr;
}

}  // namespace QETLib
