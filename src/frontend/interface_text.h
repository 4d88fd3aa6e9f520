// Message tags ("$qad_...", "$qet_...") turned into the installation's language.
#pragma once
#include <string>
#include <string_view>

namespace QETLib {

// The text of a message tag, or the tag itself when the interface text has none.
std::string Translate(std::string_view tag);

}  // namespace QETLib
