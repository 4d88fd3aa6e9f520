// The compile log of one compiler run: every message is formatted, cut at 255 bytes and
// queued; at the end of the run the queue is flushed to a build-log file and standard output.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "gamescript/gs_diagnostics.h"

namespace GSCompiler {

class GSCompileLog final : public GSLog {
 public:
  // Each message is formatted into a buffer of this size; longer output is cut.
  static constexpr size_t kLineBuffer = 256;

  void Error(const char* file, int line, const char* text) override;
  void Message(const char* text) override;
  void Printf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  // Appends the lines to `build_log` (when not empty; opened for appending) and, unless
  // `silent`, prints them to `out`, each followed by a newline. An empty line ends the flush.
  void Flush(const std::string* build_log, bool silent, std::FILE* out) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace GSCompiler
