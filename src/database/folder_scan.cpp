// Finding asset folders and bringing them into the index.
#include "database/folder_scan.h"

#include <sys/stat.h>

#include <bit>

#include "database/record_builder.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/time.h"

namespace QETLib {

namespace {

constexpr const char* kBuiltinDatabase = "data";
constexpr int kMaxDepth = 32;  // asset folders lie a few levels down; deeper trees are not searched

bool Walk(const std::string& root, const std::string& relative, int depth,
          const std::function<bool(const std::string&)>& visit) {
  std::string full = Orb::Path::AddPath(root, relative);
  if (HoldsAssetConfig(full)) return visit(relative);
  if (depth >= kMaxDepth) return true;
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(full, entries)) return true;
  for (const Orb::FindEntry& entry : entries) {
    if (!entry.is_folder || entry.is_link) continue;
    if (!Walk(root, relative + "/" + entry.name, depth + 1, visit)) return false;
  }
  return true;
}

void Attach(AssetRecord& record, const ScanFolder& where, const std::string& relative) {
  switch (where.location) {
    case AssetLocation::kBuiltin:
      record.SetText(AssetRecord::kResourcePath, relative);
      record.resource_database = Orb::PString(kBuiltinDatabase);
      record.check_flags |= kCheckBuiltin;
      break;
    case AssetLocation::kLocal:
      record.SetText(AssetRecord::kLocalPath, relative);
      break;
    case AssetLocation::kEditing:
      record.SetText(AssetRecord::kEditingPath, relative);
      break;
  }
}

uint32_t Rotl(uint32_t v, int n) { return std::rotl(v, n); }

}  // namespace

bool HoldsAssetConfig(const std::string& folder) {
  return !Orb::FindNameIgnoreCase(folder, "config.chump").empty() ||
         !Orb::FindNameIgnoreCase(folder, "config.txt").empty();
}

const std::vector<ScanFolder>& RebuildScanFolders() {
  static const std::vector<ScanFolder> folders = {
      {"base", AssetLocation::kBuiltin},           {"builtin/1", AssetLocation::kBuiltin},
      {"builtin/2", AssetLocation::kBuiltin},      {"builtin/3", AssetLocation::kBuiltin},
      {"builtin/4", AssetLocation::kBuiltin},      {"builtin/kestrel", AssetLocation::kBuiltin},
      {"builtin/lowmarsh", AssetLocation::kBuiltin}, {"builtin/tallowdale", AssetLocation::kBuiltin},
      {"local", AssetLocation::kLocal},            {"editing", AssetLocation::kEditing},
  };
  return folders;
}

void ForEachAssetFolder(const std::string& root, const std::string& folder,
                        const std::function<bool(const std::string& relative)>& visit) {
  std::string top = Orb::Path::AddPath(root, folder);
  std::vector<Orb::FindEntry> entries;
  if (!Orb::File::IsFolder(top) || !Orb::ListFolder(top, entries)) return;
  for (const Orb::FindEntry& entry : entries) {
    if (!entry.is_folder || entry.is_link) continue;
    if (!Walk(root, folder + "/" + entry.name, 1, visit)) return;
  }
}

bool LoadAssetConfig(const std::string& asset_folder, TagContainer& config) {
  std::string chump = Orb::FindNameIgnoreCase(asset_folder, "config.chump");
  if (!chump.empty() && config.Load({}, chump, "chump") && !config.IsEmpty()) return true;
  std::string text = Orb::FindNameIgnoreCase(asset_folder, "config.txt");
  return !text.empty() && config.Load({}, text, "txt");
}

int ScanFolderIntoIndex(AssetIndex& index, const std::string& root, const ScanFolder& where, int64_t now) {
  int taken = 0;
  ForEachAssetFolder(root, where.folder, [&](const std::string& relative) {
    std::string full = Orb::Path::AddPath(root, relative);
    TagContainer config;
    if (!LoadAssetConfig(full, config)) return true;
    KUID kuid = config.GetKUID("kuid");
    if (kuid.IsNull()) return true;
    if (AssetRecord* known = index.GetMutable(kuid)) {
      Attach(*known, where, relative);
      index.MarkChanged(kChangeRecords);
    } else {
      AssetRecord record;
      if (!FillRecordFromConfig(config, where.location == AssetLocation::kBuiltin, now, record)) return true;
      Attach(record, where, relative);
      if (where.location != AssetLocation::kEditing) record.folder_signature = FolderSignature(full);
      record.stamp = index.CurrentStamp();
      index.Put(std::move(record));
      index.Extras().dependencies[kuid] = ConfigDependencies(config);
    }
    ++taken;
    return true;
  });
  return taken;
}

void RebuildIndexByScan(AssetIndex& index, const std::string& root) {
  index.Clear();
  int64_t now = Orb::Time::NowUnixSeconds();
  for (const ScanFolder& where : RebuildScanFolders()) ScanFolderIntoIndex(index, root, where, now);
  index.RaiseValidationLevel(100);
  index.MarkChanged(kChangeRecords);
}

int32_t FolderSignature(const std::string& path) {
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(path, entries)) return 1;
  uint32_t h = 0;
  for (const Orb::FindEntry& entry : entries) {
    if (entry.is_folder && !entry.is_link) {
      h = (static_cast<uint32_t>(FolderSignature(entry.path)) + 11) ^ Rotl(h, 6);
    } else {
      struct stat info;
      uint32_t value = 0;
      if (::lstat(entry.path.c_str(), &info) == 0)
        value = static_cast<uint32_t>(info.st_mtime) ^ static_cast<uint32_t>(info.st_size) ^
                static_cast<uint32_t>(info.st_mtim.tv_nsec);
      h = Rotl(h, 5) ^ value;
    }
  }
  return h == 0 ? 1 : static_cast<int32_t>(h);
}

}  // namespace QETLib
