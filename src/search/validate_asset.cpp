#include "search/validate_asset.h"

#include <atomic>
#include <mutex>

#include "content/data_manager.h"
#include "content/language_locale.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "search/message_catalogue.h"
#include "search/schema.h"

namespace QETLib {

namespace {

std::atomic<bool> g_alias_seen{false};
std::mutex g_catalogue_lock;
std::string g_catalogue_key;  // data folder + language of the catalogue in use

// Builds reported as from the future: 3.11 and later.
constexpr int kFutureBuild = 311;
constexpr int kOldBuild = 290;

void EnsureCatalogue(const std::string& data_folder, const std::string& language) {
  std::lock_guard<std::mutex> guard(g_catalogue_lock);
  const std::string key = data_folder + "\n" + language;
  if (key == g_catalogue_key) return;
  SetCurrentCatalogue(LoadStringTable(language, data_folder));
  g_catalogue_key = key;
}

}  // namespace

ValidationSettings& CurrentValidationSettings() {
  static ValidationSettings settings;
  return settings;
}

bool AliasSeen() { return g_alias_seen.load(); }

int BuildCode(float quorix_build) { return static_cast<int>(static_cast<double>(quorix_build) * 100 + 0.1); }

bool LoadAssetConfiguration(const std::string& asset_folder, TagContainer& config, std::string* file) {
  for (const char* name : {"config.txt", "config.chump"}) {
    const std::string path = Orb::FindNameIgnoreCase(asset_folder, name);
    if (path.empty() || !Orb::File::IsRegularFile(path)) continue;
    if (file) *file = path;
    return config.Load({}, path, Orb::Path::GetExt(name));
  }
  return false;
}

bool ValidateAsset(const std::string& asset_folder, ResultsLog* log, const AssetChecker* checker,
                   ValidationReport* report, const std::string& data_folder,
                   const std::function<std::string(const KUID&)>& kind_of) {
  FindingsHandler& findings = CurrentFindings();
  findings.Clear();
  ValidationReport local;
  ValidationReport& out = report ? *report : local;
  out = ValidationReport{};
  const std::string folder = data_folder.empty() ? DataManager::Instance().DataFolder() : data_folder;
  const ValidationSettings& settings = CurrentValidationSettings();
  EnsureCatalogue(folder, settings.language.empty() ? CurrentLanguageCode() : settings.language);

  TagContainer config;
  std::string file;
  if (!LoadAssetConfiguration(asset_folder, config, &file)) {
    const std::string where = file.empty() ? Orb::Path::AddPath(asset_folder, "config.txt") : file;
    const std::string message = ComposeMessage(kMsgUnreadableConfig, {where});
    findings.ErrorInFile(where, message);
    if (log) log->Add(Error, message);
    out.errors = 1;
    return false;
  }

  const int build = BuildCode(config.GetFloat("quorix-build", 1.3f));
  if (build >= kFutureBuild) {
    if (log) log->AddTagged(Error, std::nullopt, "$qet_future_asset");
    out.errors = 1;
    return false;
  }
  const std::string kind = config.GetText("kind");
  if (Orb::EqualsIgnoreCase(kind, "water") || Orb::EqualsIgnoreCase(kind, "paintshed-skin")) {
    const bool water = Orb::EqualsIgnoreCase(kind, "water");
    if (log) log->AddTagged(Warning, std::nullopt, water ? "$qet_obsolete_water" : "$qet_obsolete_paintshed");
    out.warnings = 1;
    out.ok = true;
    return true;
  }
  if (settings.skip_old_content && build < kOldBuild) {
    out.ok = true;
    return true;
  }

  bool ok = false;
  if (checker && *checker) {
    ok = (*checker)(config);
  } else {
    ValidationOptions options;
    options.asset_folder = asset_folder;
    options.kind_of = kind_of;
    Container container(LoadSchema(folder), findings, std::move(options));
    ok = container.Validate(config);
    if (container.AliasSeen()) g_alias_seen = true;
  }
  for (const Finding& finding : findings.Findings()) {
    if (finding.severity == Finding::kError) ++out.errors;
    else if (finding.severity == Finding::kWarning) ++out.warnings;
    else continue;
    if (log) log->Add(finding.severity, finding.message);
  }
  out.ok = ok;
  return ok;
}

}  // namespace QETLib
