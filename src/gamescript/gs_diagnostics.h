// The compiler's message sink: every stage reports through GSLog, the driver decides where
// the lines go (the run's log queue, an optional build-log file, standard output).
#pragma once

namespace GSCompiler {

// A message tied to a source position is logged as "%s(%d) : %s" (file, line, text); the
// text itself already ends with its own ", line %d". A message without a position is logged
// as it is. Implementations cut each formatted line at 255 bytes.
class GSLog {
 public:
  virtual ~GSLog() = default;
  virtual void Error(const char* file, int line, const char* text) = 0;
  virtual void Message(const char* text) = 0;
};

}  // namespace GSCompiler
