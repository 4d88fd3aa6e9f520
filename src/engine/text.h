// Small text helpers shared by every layer: printf-style formatting, case folding
// and case-insensitive comparison of byte strings (ASCII letters only, like the system's own).
#pragma once
#include <cstdarg>
#include <string>
#include <string_view>

namespace Orb {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args);

char ToLowerChar(char c);
char ToUpperChar(char c);
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);
// Position of `needle` in `text` ignoring letter case, or npos.
size_t FindIgnoreCase(std::string_view text, std::string_view needle, size_t from = 0);

}  // namespace Orb
