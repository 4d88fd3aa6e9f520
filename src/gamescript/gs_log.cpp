// Formatting and flushing of the compile log.
#include "gamescript/gs_log.h"

#include <cstdarg>

namespace GSCompiler {

void GSCompileLog::Error(const char* file, int line, const char* text) {
  Printf("%s(%d) : %s", file ? file : "", line, text ? text : "");
}

void GSCompileLog::Message(const char* text) { Printf("%s", text ? text : ""); }

void GSCompileLog::Printf(const char* fmt, ...) {
  char buffer[kLineBuffer];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  lines_.emplace_back(buffer);
}

void GSCompileLog::Flush(const std::string* build_log, bool silent, std::FILE* out) const {
  std::FILE* file = build_log ? std::fopen(build_log->c_str(), "a+") : nullptr;
  for (const std::string& line : lines_) {
    if (line.empty()) break;
    if (file) std::fprintf(file, "%s\n", line.c_str());
    if (!silent && out) std::fprintf(out, "%s\n", line.c_str());
  }
  if (file) std::fclose(file);
  if (out) std::fflush(out);
}

}  // namespace GSCompiler
