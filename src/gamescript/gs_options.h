// The compiler's command line: options read strictly left to right, and the usage text.
#pragma once
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace GSCompiler {

struct GSOptions {
  std::string source;                      // the last non-option argument; may be empty
  std::optional<std::string> output;       // -p value as given (only its folder part is used)
  std::optional<std::string> build_log;    // -b file name
  bool silent = false;                     // -s
  bool documentation = false;              // -d seen: parsing stopped there
  std::vector<std::string> include_folders;  // -i values in order
};

// Reads argv[1..argc-1]. Stops at the first -d, which sets `documentation`.
GSOptions ParseOptions(int argc, const char* const* argv);

// The part of `program_path` after the last '\', '/' or ':'.
std::string BareProgramName(const char* program_path);

// Prints the banner and the option list.
void PrintUsage(std::FILE* out, const char* program_path);

// The compiler version shown in the banner and stored in every library.
inline constexpr float kCompilerVersion = 1.02f;

}  // namespace GSCompiler
