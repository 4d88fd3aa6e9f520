#include "content/data_manager.h"

#include <atomic>
#include <mutex>

#include "engine/file.h"
#include "engine/path.h"
#include "engine/quorix_ex.h"

namespace QETLib {

namespace {
std::mutex g_lock;
std::unique_ptr<DataManager> g_instance;
}  // namespace

bool DataManager::Create(const std::string& data_folder) {
  std::string folder = Orb::Path::AddSlash(Orb::Path::ReplaceBackSlashes(data_folder));
  if (!Orb::File::IsFolder(folder)) return false;
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_instance) return g_instance->data_folder_ == folder;
  g_instance = std::make_unique<DataManager>(folder);
  return true;
}

void DataManager::Destroy() {
  std::unique_ptr<DataManager> gone;
  std::lock_guard<std::mutex> guard(g_lock);
  gone = std::move(g_instance);
}

DataManager& DataManager::Instance() {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_instance) return *g_instance;
  }
  Orb::RaiseError("DataManager::Instance> datamanger not initialised");
}

bool DataManager::Exists() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_instance != nullptr;
}

}  // namespace QETLib
