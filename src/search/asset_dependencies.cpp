#include "search/asset_dependencies.h"

#include <algorithm>

namespace QETLib {

namespace {

// Nesting deeper than this is not followed (hostile content).
constexpr int kMaxDepth = 100;

void AddOnce(std::vector<KUID>& out, const KUID& kuid) {
  if (kuid.IsNull()) return;
  if (std::find(out.begin(), out.end(), kuid) == out.end()) out.push_back(kuid);
}

void Collect(const TagContainer& container, int depth, bool top, std::vector<KUID>& out) {
  if (depth > kMaxDepth) return;
  for (uint32_t i = 0; i < container.TagCount(); ++i) {
    const std::string_view name = container.TagName(i).View();
    ChunkRef value = container.TagValue(i);
    const int32_t type = value->GetType();
    if (type == kTypeContainer) {
      if (top && name == "obsolete-table") continue;
      Collect(TagContainer(value), depth + 1, false, out);
    } else if (type == kTypeKUID) {
      if (top && name == "kuid") continue;
      for (const KUID& kuid : container.GetKUIDList(name)) AddOnce(out, kuid);
    }
  }
}

}  // namespace

std::vector<KUID> ListDependencies(const TagContainer& config) {
  std::vector<KUID> out;
  Collect(config, 0, true, out);
  return out;
}

std::vector<KUID> ListObsoletes(const TagContainer& config) {
  std::vector<KUID> out;
  TagContainer table = config.GetContainer("obsolete-table");
  for (uint32_t i = 0; i < table.TagCount(); ++i)
    if (table.TagValue(i)->GetType() == kTypeKUID)
      for (const KUID& kuid : table.GetKUIDList(table.TagName(i).View())) AddOnce(out, kuid);
  return out;
}

}  // namespace QETLib
