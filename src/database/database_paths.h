// Path operations of all database file work. Each takes a database folder name and a
// path: with a folder name the path is relative to ROOT/folder; without one it must be
// absolute. Anything else fails before the disk is touched.
#pragma once
#include <string>

namespace QETLib {

// The full path for (folder, path), or false. Back slashes count as separators. A relative
// path may not step out of its folder with "..".
bool ResolveDatabasePath(const std::string& folder, const std::string& path, std::string& full);

bool DatabaseMakeFolder(const std::string& folder, const std::string& path);
bool DatabaseRename(const std::string& from_folder, const std::string& from, const std::string& to_folder,
                    const std::string& to);
bool DatabaseExists(const std::string& folder, const std::string& path);
// Prunes a folder tree, else unlinks a file; success when either works. A path that does
// not lie deeper than the root (the root itself, a parent of it) is refused.
bool DatabaseDelete(const std::string& folder, const std::string& path);
// True when the path begins with "/cache/" (letter case ignored).
bool DatabaseIsUnderCache(const std::string& path);

}  // namespace QETLib
