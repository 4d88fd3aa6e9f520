// Folder substitutions of the engine file layer: a name such as "scripts" standing for a
// folder, so that "scripts/x.gs" resolves to that folder's "x.gs".
#pragma once
#include <string>

namespace Orb::FileSubst {

// Registers (or replaces) `name` as standing for `folder`. Names are matched ignoring case.
void Add(const std::string& name, const std::string& folder);
void Remove(const std::string& name);
// The folder registered for `name`, or "" when none is.
std::string Lookup(const std::string& name);
// A path whose first component is a registered name, with that component replaced by its
// folder; any other path unchanged.
std::string Resolve(const std::string& path);

}  // namespace Orb::FileSubst
