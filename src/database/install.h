// Installing assets from a CDP package or from folder trees: each asset gets an editing
// copy with its files and configuration, is committed or left open for edit, and is
// reported. An asset that is already present is overwritten unless a prompt handler says no.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "content/tag_container.h"
#include "frontend/results_log.h"

namespace QETLib {

constexpr int kInstallCommit = 2;     // commit after install
constexpr int kInstallNoTextures = 8; // passed through to the commit

enum PromptAnswer { kPromptSkip = 0, kPromptSkipAll = 1, kPromptOverwrite = 2, kPromptOverwriteAll = 3,
                    kPromptCancel = 4 };

// Asked (prompt tag, KUID) what to do with an asset that is already present.
using InnerPromptHandler = std::function<int(std::string_view prompt_tag, const KUID& kuid)>;

// The database's prompt handler: remembers the answer per prompt tag and reuses a
// remembered "for all" answer (1 or 3) without asking; answer 4 cancels the install.
class QADPromptHandler {
 public:
  explicit QADPromptHandler(InnerPromptHandler inner) : inner_(std::move(inner)) {}
  int Ask(std::string_view prompt_tag, std::string_view log_tag, const KUID& kuid, const std::string& asset_name,
          ResultsLog& log);
  bool Cancelled() const { return cancelled_; }

 private:
  InnerPromptHandler inner_;
  std::map<std::string, int, std::less<>> remembered_;
  bool cancelled_ = false;
};

// Each returns the number of assets installed (folders: the number of asset folders found).
int InstallFromCDP(const std::string& path, ResultsLog& log, int flags, QADPromptHandler* prompt);
int InstallFromFolder(const std::string& path, ResultsLog& log, int flags, QADPromptHandler* prompt);
// Installs one package entry; returns its KUID, or the null KUID when nothing was installed.
KUID InstallAsset(const TagContainer& entry, ResultsLog& log, int flags, QADPromptHandler* prompt);

}  // namespace QETLib
