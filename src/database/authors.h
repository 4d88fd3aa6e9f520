// The authors of the content the index knows, each named once.
#pragma once
#include <string>
#include <vector>

namespace QETLib {

// The author text of a user number: "unknown" for -2, "Belmo" for the maker's own
// numbers, else "#<number>".
std::string AuthorText(int32_t user);
// Every distinct author text of the index, in order of first appearance.
std::vector<std::string> ListAuthors();

}  // namespace QETLib
