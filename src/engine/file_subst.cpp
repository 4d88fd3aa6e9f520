#include "engine/file_subst.h"

#include <map>
#include <mutex>

#include "engine/path.h"
#include "engine/text.h"

namespace Orb::FileSubst {

namespace {
std::mutex g_lock;
std::map<std::string, std::string>& Table() {  // lower-cased name -> folder
  static std::map<std::string, std::string> table;
  return table;
}
}  // namespace

void Add(const std::string& name, const std::string& folder) {
  std::lock_guard<std::mutex> guard(g_lock);
  Table()[ToLower(name)] = folder;
}

void Remove(const std::string& name) {
  std::lock_guard<std::mutex> guard(g_lock);
  Table().erase(ToLower(name));
}

std::string Lookup(const std::string& name) {
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = Table().find(ToLower(name));
  return it == Table().end() ? std::string() : it->second;
}

std::string Resolve(const std::string& path) {
  size_t slash = path.find('/');
  std::string first = path.substr(0, slash);
  if (first.empty()) return path;
  std::string folder = Lookup(first);
  if (folder.empty()) return path;
  return slash == std::string::npos ? folder : Path::AddPath(folder, path.substr(slash + 1));
}

}  // namespace Orb::FileSubst
