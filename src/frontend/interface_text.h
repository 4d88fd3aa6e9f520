// Message tags ("$qad_...", "$qet_...") turned into the installation's language: the
// process-wide interface text store, loaded once from ROOT/data.
#pragma once
#include <atomic>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "content/tag_container.h"

namespace QETLib {

class InterfaceTextDB {
 public:
  static constexpr const char* kFileName = "interfacetext.chump";
  static constexpr int kMaxReports = 10;

  static InterfaceTextDB& Instance();

  // The installation root whose "data" container holds the interface text; set at start-up.
  void SetRoot(const std::string& root);
  // Loads the store once (later calls do nothing).
  void Load();
  // The tag's text; the tag itself when the store has none (reported to the engine log, at
  // most ten times per process, when `report` is set). An empty tag comes back unchanged.
  std::string GetString(std::string_view tag, bool report);
  bool Loaded() const { return loaded_.load(); }
  int MissingReports() const { return reports_.load(); }  // missing tags met with reporting on

  TagContainer BelmoMapText() const;
  TagContainer BelmoSpecText() const;
  TagContainer ScenarioText() const;

  // Forgets what was loaded (the report counter stays): for a new root in tests.
  void Reset();

 private:
  InterfaceTextDB() = default;

  mutable std::shared_mutex lock_;
  std::string root_;
  TagContainer store_;
  TagContainer map_text_, spec_text_, scenario_text_;
  std::atomic<bool> loaded_{false};
  std::atomic<int> reports_{0};
};

// Loads the store if needed, then GetString with reporting on.
std::string Translate(std::string_view tag);

}  // namespace QETLib
