// Batch mode: every line of a text file runs as one command with its own results log.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "frontend/engine_context.h"

namespace QETLib {

// Cuts one line (terminator already cut) into arguments by the batch quoting rules.
std::vector<std::string> CutBatchLine(std::string_view line);
// Cuts the terminator: from the end down to the second character, CR and LF end the text.
std::string_view CutLineTerminator(std::string_view line);

// Runs the file named by `file_name`; returns 0 when every line succeeded, else -1.
int RunBatchFile(EngineContext& context, const std::string& file_name, const char* program);

}  // namespace QETLib
