// The compiler's entry: options, the per-file pipeline (find, read, parse, analyse, include,
// generate, write) and the output library name. One call is one run; not re-entrant.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "gamescript/gs_log.h"

namespace GSCompiler {

// Runs the compiler on argv[1..]: 0 on success, else the number of errors (1 for failures
// that are not counted errors and when only the usage text was printed). Log lines go to
// standard output (unless -s) and to the -b file at the end of the run.
unsigned GSCompilerMain(int argc, const char* const* argv);

// Compiles `source` and writes its library. `output` is the -p value (its folder part is the
// output folder); `includes` the -i folders. Returns the error count, 0 when written.
unsigned CompileSourceFile(const std::string& source, const std::optional<std::string>& output,
                           const std::vector<std::string>& includes, GSCompileLog& log);

// CRC-32 (reflected IEEE polynomial, initial all ones, final complement).
uint32_t GSCrc32(std::string_view bytes);

}  // namespace GSCompiler
