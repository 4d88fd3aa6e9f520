// Package reading checks, entry adding with the table rebuild, writing, and the dependency
// walk over an entry's configuration.
#include "content/package.h"

#include <algorithm>

#include "content/chunk_memory.h"
#include "content/package_checksum.h"
#include "engine/text.h"

namespace QETLib {
namespace {

void AddOnce(std::vector<KUID>& list, const KUID& k) {
  if (k.IsNull()) return;
  if (std::find(list.begin(), list.end(), k) == list.end()) list.push_back(k);
}

void Remove(std::vector<KUID>& list, const KUID& k) { list.erase(std::remove(list.begin(), list.end(), k), list.end()); }

// KUID values (every element of a list) and strings written as KUIDs, through all containers.
void CollectKUIDs(ACSChunk* container, std::vector<KUID>& out) {
  container->ForEachChild([&](const ChildView& child) {
    if (child.type == kTypeContainer) {
      if (child.chunk) CollectKUIDs(child.chunk.Get(), out);
    } else if (child.type == kTypeKUID && child.data) {
      for (uint32_t i = 0; i + 8 <= child.size; i += 8) AddOnce(out, KUID::FromChumpBytes(child.data + i));
    } else if (child.type == kTypeString && child.data) {
      std::string_view text(reinterpret_cast<const char*>(child.data), child.size);
      text = text.substr(0, text.find('\0'));
      AddOnce(out, Parse(text, true));
    }
    return true;
  });
}

std::vector<KUID> TableKUIDs(const TagContainer& table) {
  std::vector<KUID> out;
  for (uint32_t i = 0; i < table.TagCount(); ++i) {
    ChunkRef v = table.TagValue(i);
    if (v->GetType() != kTypeKUID || !v->GetData()) continue;
    for (uint32_t at = 0; at + 8 <= v->GetDataSize(); at += 8) AddOnce(out, KUID::FromChumpBytes(v->GetData() + at));
  }
  return out;
}

TagContainer NumberedTable(const std::vector<KUID>& kuids) {
  TagContainer table;
  table.MakeWritable();
  int n = 0;
  for (const KUID& k : kuids) {
    if (!k.IsNull()) table.SetKUID(std::to_string(n++), k);
  }
  return table;
}

}  // namespace

std::vector<KUID> EntryDependencies(const TagContainer& entry) {
  std::vector<KUID> deps;
  if (entry.HasRoot()) CollectKUIDs(entry.Root().Get(), deps);
  for (const KUID& k : TableKUIDs(entry.GetContainer("kuid-table"))) AddOnce(deps, k);
  static constexpr std::string_view kKUIDTags[] = {"alias",      "bridgetrack", "bogey",     "preview-mesh-kuid",
                                                   "map-kuid",   "product-category", "bogey-1", "bogey-1-r",
                                                   "interior",   "enginespec",  "enginesound"};
  for (std::string_view tag : kKUIDTags) AddOnce(deps, entry.GetKUID(tag));
  // A driven car without its own interior uses the default cab.
  if (Orb::EqualsIgnoreCase(entry.GetText("kind"), "traincar") && entry.GetInt("engine") == 1 &&
      entry.GetKUID("interior").IsNull()) {
    AddOnce(deps, KUID{-10, 172, 127});
  }
  Remove(deps, entry.GetKUID("kuid"));
  for (const KUID& k : TableKUIDs(entry.GetContainer("obsolete-table"))) Remove(deps, k);
  return deps;
}

std::string ReadPackage(TagContainer& package, std::string_view folder, std::string_view file) {
  package = TagContainer();
  package.Load(folder, file);
  std::string message;
  if (!Orb::EqualsIgnoreCase(package.GetText("kind"), "archive")) {
    message = "Content could not be read, as the file is not a valid CDP";
  } else if (package.GetContainer("contents-table").TagCount() != package.GetContainer("assets").TagCount()) {
    message = "Content could not be read, as the CDP file is damaged";
  } else if (package.GetInt("package-version", 0) != 1) {
    message = "This content requires a newer Quorix version";
  }
  if (!message.empty()) package = TagContainer();
  return message;
}

std::string AddAssetToPackage(TagContainer& package, const TagContainer& entry) {
  const KUID kuid = entry.GetKUID("kuid");
  if (kuid.IsNull()) return "Unable to add content as it doesnt not contain a valid KUID";
  package.MakeWritable();
  TagContainer assets = package.GetContainer("assets");
  for (uint32_t i = 0; i < assets.TagCount(); ++i) {
    ChunkRef child = assets.TagValue(i);
    if (child->GetType() == kTypeContainer && TagContainer(child).GetKUID("kuid") == kuid)
      return Orb::Format("Unable to add content as an item with KUID %s is already present", ToBracketString(kuid).c_str());
  }
  assets.MakeWritable();
  assets.SetContainer(ToBracketString(kuid), entry);
  package.SetContainer("assets", assets);

  std::vector<KUID> contents;
  std::vector<KUID> deps;
  std::vector<KUID> obsolete;
  for (uint32_t i = 0; i < assets.TagCount(); ++i) {
    ChunkRef child = assets.TagValue(i);
    if (child->GetType() != kTypeContainer) continue;
    TagContainer e(child);
    const KUID own = e.GetKUID("kuid");
    contents.push_back(own);
    for (const KUID& k : EntryDependencies(e)) AddOnce(deps, k);
    for (const KUID& k : TableKUIDs(e.GetContainer("obsolete-table"))) AddOnce(obsolete, k);
    AddOnce(obsolete, e.GetKUID("obsoletes-kuid"));
    Remove(obsolete, own);
  }
  for (const KUID& k : contents) Remove(deps, k);

  package.SetContainer("contents-table", NumberedTable(contents));
  package.SetContainer("kuid-table", NumberedTable(deps));
  package.SetContainer("obsolete-table", NumberedTable(obsolete));
  package.SetString("kind", "archive");
  package.SetInt("package-version", 1);
  return "";
}

std::string WritePackage(const TagContainer& package, std::string_view file) {
  if (!package.Save(file)) return "Unable to write archive file. Needs to be .cdp file extension";
  return "";
}

TagContainer MakePackageEntry(const TagContainer& config, const TagContainer& files, bool compressed) {
  TagContainer entry;
  entry.MakeWritable();
  for (uint32_t i = 0; i < config.TagCount(); ++i) entry.SetChunk(config.TagName(i).View(), config.TagValue(i));
  entry.SetContainer("files", files);
  entry.SetString("compression", compressed ? "LZSS" : "");
  entry.SetString("dsid", PackageChecksumText(files));
  return entry;
}

}  // namespace QETLib
