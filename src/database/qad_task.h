// A long database operation run as a task: it has a title, a phase text and a progress
// fraction (shown by a progress display), reports tagged messages into a results log, counts
// the warnings and errors reported to it, and carries a cancel mark.
#pragma once
#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "frontend/interface_text.h"
#include "frontend/results_log.h"

namespace QETLib {

class QADTask {
 public:
  // Told the phase text and the progress (0 to 1) whenever either changes.
  using ProgressSink = std::function<void(const std::string& phase, double progress)>;

  explicit QADTask(ResultsLog& log) : log_(log) {}

  void SetTitle(std::string_view tag) { title_ = Translate(tag); }
  const std::string& Title() const { return title_; }
  void SetPhase(std::string_view tag);
  void SetProgress(double fraction);
  const std::string& Phase() const { return phase_; }
  double Progress() const { return progress_; }
  void SetProgressSink(ProgressSink sink) { sink_ = std::move(sink); }

  // Adds a tagged message to the log; warnings and errors are counted.
  void Report(int severity, std::string_view tag, const MessageParams& params = {},
              std::optional<KUID> asset = std::nullopt);
  int Warnings() const { return warnings_; }
  int Errors() const { return errors_; }

  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }
  const std::atomic<bool>& CancelMark() const { return cancelled_; }

  ResultsLog& Log() { return log_; }

 private:
  ResultsLog& log_;
  std::string title_;
  std::string phase_;
  double progress_ = 0.0;
  ProgressSink sink_;
  int warnings_ = 0;
  int errors_ = 0;
  std::atomic<bool> cancelled_{false};
};

}  // namespace QETLib
