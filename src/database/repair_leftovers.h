// Leftovers of an interrupted publish: the temporary "temp..." folders that a commit makes
// beside its destination and removes when it finishes.
#pragma once
#include <string>
#include <vector>

namespace QETLib {

// True for names a publish gives its temporary folders: "temp", 8 characters of [0-9a-z],
// then a decimal counter.
bool IsPublishTempName(const std::string& name);
// Removes such folders from ROOT/editing and the folders inside ROOT/local; returns their
// paths relative to the root. Call with the database write-locked, so that no publish of
// this or another process is under way.
std::vector<std::string> RemoveLeftoverTempFolders(const std::string& root);

}  // namespace QETLib
