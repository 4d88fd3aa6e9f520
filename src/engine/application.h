// The name the running program registered at start-up. Network requests identify the
// program by it; until a name is registered it is empty.
#pragma once
#include <string>
#include <string_view>

namespace Orb {

void SetApplicationName(std::string_view name);
std::string ApplicationName();

}  // namespace Orb
