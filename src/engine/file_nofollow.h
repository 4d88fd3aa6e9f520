// File and folder creation that never follows a symbolic link, for writing content taken
// from outside (package members) below a folder the program chose.
#pragma once
#include <string>
#include <string_view>

namespace Orb {

// Creates or truncates `path` and writes `data`. Fails, touching nothing, when `path` is a
// symbolic link or not a regular file.
bool WriteFileNoFollow(const std::string& path, std::string_view data);

// Makes the one folder `path` (its parent must exist). An existing real folder is accepted;
// a symbolic link (to a folder or not) or any other file is a failure.
bool MakeFolderNoFollow(const std::string& path);

}  // namespace Orb
