// The category classes: their display names, and the tables that give an asset record its
// class code from its kind (and, for track-like kinds, its type) or from a legacy class code.
#pragma once
#include <span>
#include <string_view>

namespace QETLib {

struct CategoryClass {
  std::string_view code;
  std::string_view name;
  int flag;  // 1 on the sub-classes that the user interface lists under their parent
};

// The class table, without its end row.
std::span<const CategoryClass> CategoryClassTable();
// The display name of a class code (compared exactly); empty when unknown.
std::string_view CategoryClassName(std::string_view code);

// The class used when a kind or a legacy code is found in no row.
inline constexpr std::string_view kFallbackCategoryClass = "MS";

// Class of a kind (ignoring case). A row with a type applies only when the type text
// equals it (ignoring case); a row without one applies to any type.
std::string_view ClassForKind(std::string_view kind, std::string_view type = {});
// Class of a legacy two- or three-letter class value with the asset's kind (ignoring case).
// A row without a kind applies to every kind; rows with a kind are preferred.
std::string_view ClassForLegacyClass(std::string_view value, std::string_view kind);

}  // namespace QETLib
