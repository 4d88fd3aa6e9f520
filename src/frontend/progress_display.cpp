#include "frontend/progress_display.h"

#include <unistd.h>

#include <cstdio>

namespace QETLib {

ProgressDisplay::ProgressDisplay() : active_(isatty(STDERR_FILENO) == 1) {}

ProgressDisplay::~ProgressDisplay() {
  if (!active_ || drawn_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(drawn_), "");
  std::fflush(stderr);
}

void ProgressDisplay::Update(const std::string& phase, double progress) {
  if (!active_) return;
  int percent = static_cast<int>(progress * 100.0 + 0.5);
  if (percent == last_percent_ && phase == last_phase_) return;
  last_percent_ = percent;
  last_phase_ = phase;
  char line[160];
  int n = std::snprintf(line, sizeof line, "%.60s %3d%%", phase.c_str(), percent);
  if (n < 0) return;
  size_t width = static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1;
  // Pad over what the previous, longer line left behind.
  std::fprintf(stderr, "\r%s%*s", line, drawn_ > width ? static_cast<int>(drawn_ - width) : 0, "");
  std::fflush(stderr);
  drawn_ = width > drawn_ ? width : drawn_;
}

}  // namespace QETLib
