// One command run: its arguments as the dispatcher saw them, the log it reports into,
// and the engine context.
#pragma once
#include <string>

#include "engine/pstring.h"
#include "frontend/engine_context.h"
#include "frontend/results_log.h"

namespace QETLib {

struct CommandArgs {
  ResultsLog& log;
  EngineContext& context;
  int argc;
  char** argv;
  Orb::PString keyword;      // argv[1] lowered
  Orb::PString first_lower;  // argv[2] lowered, empty when absent

  // True when the first parameter exists and is not empty.
  bool HasFirst() const { return argc >= 3 && argv[2][0] != '\0'; }
  std::string First() const { return std::string(first_lower.View()); }  // lowered
  std::string FirstAsTyped() const { return argc >= 3 ? std::string(argv[2]) : std::string(); }
  // A file or folder path given as the first parameter. First parameters are lowered for
  // matching, but on a case-sensitive file system a lowered path names another file, so
  // paths are always taken as typed.
  std::string PathArg() const { return FirstAsTyped(); }
  std::string Arg(int i) const { return i < argc ? std::string(argv[i]) : std::string(); }
  // Logs an argument error (no asset) and returns the failure code.
  int ArgumentError(const char* message) const {
    log.Add(Error, message);
    return -1;
  }
};

using CommandHandler = int (*)(CommandArgs& args);

}  // namespace QETLib
