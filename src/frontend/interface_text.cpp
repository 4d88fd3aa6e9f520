// The interface text store: loaded once from ROOT/data (chump, else text), looked up under a
// reader-writer lock, with missing tags reported to the engine log at most ten times.
#include "frontend/interface_text.h"

#include <mutex>

#include "engine/file.h"
#include "engine/log.h"
#include "engine/path.h"

namespace QETLib {

InterfaceTextDB& InterfaceTextDB::Instance() {
  static InterfaceTextDB db;
  return db;
}

void InterfaceTextDB::SetRoot(const std::string& root) {
  std::unique_lock hold(lock_);
  root_ = root;
}

void InterfaceTextDB::Reset() {
  std::unique_lock hold(lock_);
  store_ = map_text_ = spec_text_ = scenario_text_ = TagContainer();
  loaded_ = false;
}

namespace {

// The file `name` in `folder`, accepting a name that differs only in letter case.
std::string InFolder(const std::string& folder, const std::string& name) {
  std::string found = Orb::FindNameIgnoreCase(folder, name);
  return found.empty() ? Orb::Path::AddPath(folder, name) : found;
}

}  // namespace

void InterfaceTextDB::Load() {
  if (loaded_.load()) return;
  std::unique_lock hold(lock_);
  if (loaded_.load()) return;
  std::string data = root_.empty() ? std::string("data") : Orb::Path::AddPath(root_, "data");
  TagContainer store;
  if (!store.Load({}, InFolder(data, kFileName))) {
    Orb::Log::Printf("InterfaceTextDB> failed to load compiled interfacetext file\n");
    store = TagContainer();
    if (!store.Load({}, InFolder(data, Orb::Path::SetExt(kFileName, "txt")))) {
      Orb::Log::Printf("InterfaceTextDB> Unable to read interface file '%s'\n", kFileName);
      store = TagContainer();
    }
  }
  store_ = store;
  map_text_ = store.GetContainer("belmo_map_text");
  spec_text_ = store.GetContainer("belmo_spec_text");
  scenario_text_ = store.GetContainer("scenario_text");
  loaded_ = true;
}

std::string InterfaceTextDB::GetString(std::string_view tag, bool report) {
  if (tag.empty()) return std::string();
  std::string text;
  {
    std::shared_lock hold(lock_);
    text = store_.GetText(tag);
  }
  if (text.empty()) {
    if (report) {
      int n = ++reports_;
      if (n <= kMaxReports)
        Orb::Log::Printf("InterfaceTextDB::GetString> Tag '%.*s' not found in '%s'\n", static_cast<int>(tag.size()),
                         tag.data(), kFileName);
    }
    text = std::string(tag);
  }
  return text;
}

TagContainer InterfaceTextDB::BelmoMapText() const {
  std::shared_lock hold(lock_);
  return map_text_;
}
TagContainer InterfaceTextDB::BelmoSpecText() const {
  std::shared_lock hold(lock_);
  return spec_text_;
}
TagContainer InterfaceTextDB::ScenarioText() const {
  std::shared_lock hold(lock_);
  return scenario_text_;
}

std::string Translate(std::string_view tag) {
  InterfaceTextDB& db = InterfaceTextDB::Instance();
  db.Load();
  return db.GetString(tag, true);
}

}  // namespace QETLib
