// Filling an asset record from its configuration.
#include "database/record_builder.h"

#include "content/package.h"

#include <cmath>

#include "engine/text.h"

namespace QETLib {

namespace {

// "<base>-0", "<base>-1", ... while present, after a plain "<base>" when there is one,
// joined by ";".
std::string JoinNumbered(const TagContainer& config, const char* base) {
  std::string joined = config.GetText(base);
  for (int i = 0;; ++i) {
    std::string name = Orb::Format("%s-%d", base, i);
    if (!config.HasTag(name)) break;
    std::string value = config.GetText(name);
    if (value.empty()) continue;
    if (!joined.empty()) joined += ';';
    joined += value;
  }
  return joined;
}

void AddOnce(std::vector<KUID>& list, const KUID& kuid) {
  if (kuid.IsNull()) return;
  for (const KUID& k : list)
    if (k == kuid) return;
  list.push_back(kuid);
}

void AddContainerKuids(const TagContainer& config, const char* name, std::vector<KUID>& out) {
  TagContainer table = config.GetContainer(name);
  for (uint32_t i = 0; i < table.TagCount(); ++i) AddOnce(out, table.GetKUID(table.TagName(i).View()));
}

}  // namespace

bool FillRecordFromConfig(const TagContainer& config, bool builtin, int64_t now, AssetRecord& record) {
  KUID kuid = config.GetKUID("kuid");
  if (kuid.IsNull()) return false;
  record.kuid = kuid;

  std::string category_class = config.GetText("category-class");
  record.SetText(AssetRecord::kCategoryClass, category_class);
  record.SetText(AssetRecord::kName, config.GetText("username"));
  record.SetText(AssetRecord::kCategoryRegions, JoinNumbered(config, "category-region"));
  record.SetText(AssetRecord::kCategoryEras, JoinNumbered(config, "category-era"));
  std::string keywords = config.GetText("category-keyword");
  if (keywords.empty()) keywords = config.GetText("company");
  record.SetText(AssetRecord::kCategoryKeywords, keywords);
  record.RebuildKeywordText();
  record.map_kuid = category_class == "SS" ? config.GetKUID("map-kuid") : KUID::Null();

  if (Orb::EqualsIgnoreCase(config.GetText("kind"), "reskin")) {
    record.state_flags |= kStateReskin;
  } else {
    record.state_flags &= static_cast<uint8_t>(~kStateReskin);
  }

  TagContainer privileges = config.GetContainer("privileges");
  uint8_t permission = record.permission_flags & 0x03;  // bits 0 and 1 are not the config's
  bool commit = !builtin || privileges.GetBool("permit-commit", true);
  bool edit = !builtin || privileges.GetBool("permit-edit", true);
  bool listing = privileges.GetBool("permit-listing", true) && !config.GetBool("secret", false);
  if (commit) permission |= kPermitCommit;
  if (edit) permission |= kPermitEdit;
  if (listing) permission |= kPermitListing;
  record.permission_flags = permission;

  record.quorix_build = config.GetFloat("quorix-build", 0.0f);
  // The integer build is the configuration's own, else the quorix build in hundredths.
  record.build = config.HasTag("build") ? config.GetInt("build")
                                        : static_cast<int32_t>(std::lround(record.quorix_build * 100.0f));
  record.time1 = now;
  record.time2 = now;
  return true;
}

DependencyEntry ConfigDependencies(const TagContainer& config) {
  // The same rules a package uses for its kuid-table, so that the M letter and an exported
  // package agree on what an asset needs.
  DependencyEntry entry;
  entry.dependencies = EntryDependencies(config);
  AddContainerKuids(config, "obsolete-table", entry.obsoletes);
  return entry;
}

}  // namespace QETLib
