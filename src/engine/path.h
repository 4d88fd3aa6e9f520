// Path text helpers. Paths use "/" as separator; an absolute path begins with "/".
// These work on text only and never touch the disk.
#pragma once
#include <string>
#include <string_view>

namespace Orb::Path {

// Joins `base` and `name` with exactly one separator between them.
std::string AddPath(std::string_view base, std::string_view name);
// Drops the last component (the file name): "/a/b/c.txt" -> "/a/b/".
std::string DelName(std::string_view path);
// Drops the last folder of a folder path: "/a/b/" or "/a/b" -> "/a/".
std::string PrevDir(std::string_view path);
std::string AddSlash(std::string_view path);
std::string DelSlash(std::string_view path);
// Last component: "/a/b/c.txt" -> "c.txt".
std::string GetFileName(std::string_view path);
// Extension without the dot, "" when there is none: "a/b.tar.gz" -> "gz".
std::string GetExt(std::string_view path);
bool IsExt(std::string_view path, std::string_view ext);  // case-insensitive
// Replaces (or adds) the extension; `ext` without the dot.
std::string SetExt(std::string_view path, std::string_view ext);
std::string ReplaceBackSlashes(std::string_view path);    // "\" -> "/"
std::string ReplaceForwardSlashes(std::string_view path);  // "/" -> "\"
// Folds "//", "/./" and "/x/../"; keeps a leading "/" and a trailing separator.
std::string Normalize(std::string_view path);
// `path` relative to folder `base` when it lies below it, else `path` unchanged.
std::string MakeRelativeTo(std::string_view path, std::string_view base);
bool IsAbsolute(std::string_view path);

// True when `name` is a single safe path component: not empty, not "." or "..",
// no separators, no control characters, at most `max_length` bytes.
bool IsSafeComponent(std::string_view name, size_t max_length = 255);
// Turns arbitrary text into a safe component (separators and control characters become
// "_", "." and ".." become "_"), or "" when nothing usable is left.
std::string MakeSafeComponent(std::string_view name, size_t max_length = 200);

}  // namespace Orb::Path
