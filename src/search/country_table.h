// Country names and their two-letter codes, the codes that region lists carry. Searches
// accept a country name where a region expression is expected.
#pragma once
#include <span>
#include <string_view>

namespace QETLib {

struct Country {
  std::string_view code;  // two upper-case letters
  std::string_view name;
};

// Every row of the table (264 names; some codes have more than one name).
std::span<const Country> CountryTable();
// True when `code` (compared exactly) is a code of the table.
bool IsCountryCode(std::string_view code);
// The code of a country name, ignoring letter case; empty when the name is unknown.
std::string_view CountryCodeForName(std::string_view name);

}  // namespace QETLib
