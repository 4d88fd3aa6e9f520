// Reading of HTTP reply header lines: the "?" patterns that classify them and the number
// at the front of a value.
#pragma once
#include <cstdint>
#include <string_view>

namespace Net {

// True when `line` begins with `pattern`, letters compared without regard to case and "?"
// matching any one character. A blank at the end of the pattern also matches the end of
// the line, so a status line without a reason text still counts.
bool MatchPattern(std::string_view line, std::string_view pattern);
// The text after `prefix` when the line begins with it (any case), else false.
bool HeaderValue(std::string_view line, std::string_view prefix, std::string_view& value);
// The decimal digits at the front of the text, or -1 when there are none or too many.
int64_t LeadingNumber(std::string_view text);
// False when the text holds a control character, a blank or DEL (it could end a request
// line early or start a new header line).
bool IsSafeRequestText(std::string_view text);

}  // namespace Net
