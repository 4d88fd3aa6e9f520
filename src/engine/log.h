// The engine log. Lines are discarded unless the environment variable QUORIX_ENGINE_LOG
// names a file, to which every line is appended (tests read it).
#pragma once
#include <string_view>

namespace Orb::Log {

void Write(std::string_view line);  // appended as given; callers end their lines with "\n"
void Printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Orb::Log
