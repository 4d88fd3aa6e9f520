// Validation of one asset folder: the checks tied to the configuration's build, then the
// schema check, with findings copied into the command's results log.
#pragma once
#include <functional>
#include <string>

#include "content/tag_container.h"
#include "frontend/results_log.h"
#include "search/schema_container.h"

namespace QETLib {

// Process-wide switches of the validation side.
struct ValidationSettings {
  bool skip_old_content = false;  // assets below build 2.9 pass unchecked
  // Picks the message catalogue; empty means the installation's stored language.
  std::string language;
};
ValidationSettings& CurrentValidationSettings();
// True once any validated configuration carried an "alias" tag.
bool AliasSeen();

// Counts of what one validation found (errors and warnings as logged).
struct ValidationReport {
  bool ok = false;
  int errors = 0;
  int warnings = 0;
};

// A replacement for the schema check (the configuration is already loaded).
using AssetChecker = std::function<bool(TagContainer& config)>;

// Reads the configuration of `asset_folder` (config.txt, else config.chump) and validates
// it. Validations share the process-wide findings handler, so they run one at a time. Errors and warnings go to `log` (when given) at levels 3 and 2. `data_folder` holds the
// schema and the catalogue; empty means the DataManager's folder.
bool ValidateAsset(const std::string& asset_folder, ResultsLog* log, const AssetChecker* checker = nullptr,
                   ValidationReport* report = nullptr, const std::string& data_folder = {},
                   const std::function<std::string(const KUID&)>& kind_of = {});

// The build number test used before any checking: int(build * 100 + 0.1).
int BuildCode(float quorix_build);

// Loads the configuration file of an asset folder; false when there is none or it is unreadable.
bool LoadAssetConfiguration(const std::string& asset_folder, TagContainer& config, std::string* file = nullptr);

}  // namespace QETLib
