#include "frontend/batch.h"

#include <cstdio>

#include "engine/file.h"
#include "frontend/dispatch.h"
#include "frontend/results_log.h"

namespace QETLib {

namespace {
constexpr size_t kArgumentSlots = 512;
}

std::string_view CutLineTerminator(std::string_view line) {
  size_t end = line.size();
  for (size_t i = line.size(); i-- > 1;)
    if (line[i] == '\r' || line[i] == '\n') end = i;
  // A zero byte inside the line ends it, as it would in the line buffer.
  size_t nul = line.find('\0');
  if (nul != std::string_view::npos && nul < end) end = nul;
  return line.substr(0, end);
}

std::vector<std::string> CutBatchLine(std::string_view line) {
  std::string text;
  text.reserve(line.size() + 2);
  if (line.empty() || line[0] != ' ') text += ' ';
  text.append(line);
  text += ' ';

  std::vector<std::string> args;
  bool quoted = false;
  bool open = false;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"' && !quoted) {
      start = i + 1;
      open = true;
      quoted = true;
    } else if (c == '"') {
      args.emplace_back(text, start, i - start);
      open = false;
      quoted = false;
    } else if (c == ' ' && !quoted && !open) {
      start = i + 1;
      open = true;
    } else if (c == ' ' && !quoted) {
      args.emplace_back(text, start, i - start);
      // The same blank opens the next argument just after it.
      start = i + 1;
    }
  }
  return args;
}

int RunBatchFile(EngineContext& context, const std::string& file_name, const char* program) {
  if (!Orb::File::Exists(file_name)) {
    std::fprintf(stderr, "-The file \"%s\" does not exist, please specify a valid filename\n", file_name.c_str());
    return -1;
  }
  Orb::File file;
  if (!file.Open(file_name, Orb::File::kRead)) {
    std::fprintf(stderr, "-The file \"%s\" cannot be read\n", file_name.c_str());
    return -1;
  }
  int exit_code = 0;
  std::string line;
  // Lines are read whole however long they are: cutting a long line into 512-byte pieces
  // would run each piece as a command of its own.
  while (file.ReadLine(line)) {
    std::vector<std::string> args = CutBatchLine(CutLineTerminator(line));
    if (args.size() > kArgumentSlots - 1) args.resize(kArgumentSlots - 1);
    // With no argument found, the last slot filled is the program's own path.
    char last = args.empty() ? program[0] : (args.back().empty() ? '\0' : args.back()[0]);
    if (last == '\r' || last == '\n' || last == ' ') continue;  // passed over: nothing runs
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ResultsLog log;
    int code = ExecuteCommand(log, context, static_cast<int>(args.size() + 1), argv.data());
    if (code != 0) exit_code = -1;
    log.Print(stdout);
    std::printf("\n");
    // What earlier lines printed must survive a fatal fault in a later line.
    std::fflush(stdout);
  }
  return exit_code;
}

}  // namespace QETLib
