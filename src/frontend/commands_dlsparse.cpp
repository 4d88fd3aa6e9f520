// The "dlsparse" command: installs a package for the download station, then reports on
// each of its assets and writes each one out as its own package with a thumbnail.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "content/package.h"
#include "database/asset_index.h"
#include "database/asset_info.h"
#include "database/database_lock.h"
#include "database/edit_lifecycle.h"
#include "database/export_asset.h"
#include "database/folder_scan.h"
#include "database/install.h"
#include "database/thumbnail.h"
#include "engine/path.h"
#include "engine/text.h"
#include "frontend/commands.h"
#include "frontend/status_line.h"
#include "search/validate_asset.h"

namespace QETLib {

namespace {

constexpr int kThumbnailSize = 240;

// Texts go out one entry per line: every line break (CR, LF, CR LF or LF CR) becomes
// the two characters "\n", and a backslash is doubled so the result reads back unambiguously.
std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      char pair = c == '\r' ? '\n' : '\r';
      if (i + 1 < text.size() && text[i + 1] == pair) ++i;
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

std::string JoinKUIDs(const std::vector<KUID>& kuids) {
  std::string out;
  for (const KUID& kuid : kuids) {
    if (!out.empty()) out += ", ";
    AppendBracketString(kuid, out);
  }
  return out;
}

// Installs every entry of the package, each left open for edit; the KUIDs installed, once each.
std::vector<KUID> InstallEntries(const TagContainer& package, ResultsLog& log) {
  std::vector<KUID> installed;
  TagContainer assets = package.GetContainer("assets");
  for (uint32_t i = 0; i < assets.TagCount(); ++i) {
    KUID kuid = InstallAsset(TagContainer(assets.TagValue(i)), log, 0, nullptr);
    if (!kuid.IsNull() && std::find(installed.begin(), installed.end(), kuid) == installed.end())
      installed.push_back(kuid);
  }
  return installed;
}

// Commits the installed editing copies: what follows reads and exports committed copies,
// which an asset that is only open for edit does not have.
void CommitEntries(const std::vector<KUID>& kuids, ResultsLog& log) {
  for (const KUID& kuid : kuids) {
    EditHandle handle = OpenForEdit(kuid, nullptr);
    if (!handle || !CommitAssetEdits(handle, 0, &log)) return;
  }
}

struct DependencyLists {
  std::vector<KUID> dependencies;
  std::vector<KUID> obsoletes;
};

DependencyLists DependenciesOf(const KUID& kuid) {
  DatabaseLock lock(false);
  const auto& table = TheAssetIndex().Extras().dependencies;
  auto found = table.find(kuid);
  if (found == table.end()) return {};
  return {found->second.dependencies, found->second.obsoletes};
}

// Writes the asset as a package of its own at `file`. False when it could not be written.
bool WriteAssetPackage(const KUID& kuid, const std::string& file, ResultsLog& log) {
  TagContainer entry;
  if (!ExportAsset(kuid, &log, kExportUncompressed | kExportDropTextures, entry)) return false;
  TagContainer package;
  package.MakeWritable();
  std::string error = AddAssetToPackage(package, entry);
  if (error.empty()) error = WritePackage(package, file);
  if (!error.empty()) log.Add(Error, error);
  return error.empty();
}

// Everything the command reports and writes for one installed asset. False when one of
// its files could not be written.
bool ReportAsset(const KUID& kuid, const std::string& out_folder, ResultsLog& log) {
  EditHandle committed = GetCommittedCopy(kuid, &log);
  AssetInfo info;
  if (!committed || !GetAssetInfo(kuid, kInfoPartAll, info)) return false;
  std::fputs(StatusLine(info).c_str(), stdout);

  ScopedLogAsset scoped(&log, kuid);
  ValidateAsset(committed.folder, &log);
  TagContainer config;
  LoadAssetConfig(committed.folder, config);
  DependencyLists lists = DependenciesOf(kuid);
  log.Add(Info, "Name: " + EscapeText(info.DisplayName()));
  log.Add(Info, "Description: " + EscapeText(config.GetText("description")));
  log.Add(Info, Orb::Format("Quorix-build: %.1f", static_cast<double>(info.quorix_build)));
  log.Add(Info, "Dependencies: " + JoinKUIDs(lists.dependencies));
  log.Add(Info, "Obsoletes: " + JoinKUIDs(lists.obsoletes));

  std::string base = Orb::Path::AddPath(out_folder, ToWordString(kuid));
  bool written = WriteAssetPackage(kuid, base + ".cdp", log);
  std::string error;
  switch (WriteThumbnail(committed.folder, config, kThumbnailSize, base + ".jpg", error)) {
    case ThumbnailResult::kWritten:
      break;
    case ThumbnailResult::kNoImage:
      log.Add(Info, "No thumbnail image.");
      break;
    case ThumbnailResult::kFailed:
      log.Add(Error, error);
      written = false;
      break;
  }

  log.Add(Info, "kind: " + config.GetText("kind"));
  log.Add(Info, "alias-kuid: " + ToBracketString(config.GetKUID("alias")));
  log.Add(Info, "category-region: " + EscapeText(info.category_regions));
  log.Add(Info, "category-era: " + EscapeText(info.category_eras));
  log.Add(Info, "category-class: " + EscapeText(config.GetText("category-class")));
  return written;
}

}  // namespace

int CmdDLSParse(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing CDP filepath.");
  std::string path = args.PathArg();
  ResultsLog& log = args.log;
  DatabaseLock lock(true);
  TagContainer package;
  if (!ReadPackage(package, "", path).empty()) {
    log.AddTagged(Error, std::nullopt, "$qad_unreadable_cdp", {{"file_path", path}});
    return -1;
  }
  const int errors_before = log.Errors();
  std::vector<KUID> installed = InstallEntries(package, log);
  if (log.Errors() == errors_before) CommitEntries(installed, log);
  if (log.Errors() != errors_before) {
    // One bad entry stops the processing: the editing copies the package left behind are
    // reverted, so new assets that never got committed disappear again.
    for (const KUID& kuid : installed) {
      OpenForEdit(kuid, nullptr);
      RevertAssetEdits(kuid, &log);
    }
    log.Add(Error, "Aborted processing");
    return -1;
  }
  std::string out_folder = Orb::Path::DelName(path);
  bool all_written = true;
  for (const KUID& kuid : installed) all_written = ReportAsset(kuid, out_folder, log) && all_written;
  return all_written ? 0 : -1;
}

}  // namespace QETLib
