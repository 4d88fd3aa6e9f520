// Text from the system's old single-byte code page (Windows-1252) turned into UTF-8, for
// config text without a byte-order mark and strings of version-0 chump files.
#pragma once
#include <string>
#include <string_view>

namespace QETLib {

bool HasHighBytes(std::string_view text);
// Every byte becomes its code point's UTF-8 form; the five bytes the code page leaves
// unassigned map to the control characters of the same number, as the system does.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace QETLib
