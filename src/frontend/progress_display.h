// A one-line progress display for long operations: the phase text and a percentage,
// redrawn in place on standard error when that is a terminal, silent otherwise (so batch
// files and scripts see clean output).
#pragma once
#include <string>

namespace QETLib {

class ProgressDisplay {
 public:
  ProgressDisplay();
  ~ProgressDisplay();  // clears the line
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  void Update(const std::string& phase, double progress);
  bool Active() const { return active_; }

 private:
  bool active_;
  std::string last_phase_;
  int last_percent_ = -1;
  size_t drawn_ = 0;
};

}  // namespace QETLib
