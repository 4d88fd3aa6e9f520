// One compiled definition of the validation schema: what a tag's value must be and, for a
// container, which tags it may hold. Built from the schema's tag-container form.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/tag_container.h"
#include "engine/pstring.h"

namespace QETLib {

enum class ValueType { kUnset, kAny, kString, kInteger, kNumber, kBoolean, kKuid, kContainer, kEmpty };
enum class UnknownPolicy { kUnset, kError, kWarning, kAccept };

// "string", "integer", ... ; kUnset for a name this schema language does not know.
ValueType ValueTypeFromName(std::string_view name);
std::string_view ValueTypeName(ValueType type);

struct RuleFunctionEntry;

struct RuleCall {
  const RuleFunctionEntry* rule = nullptr;
  TagContainer params;
};

struct NodeDef;

// A definition referred to by name (resolved after the whole schema is read) or given inline.
struct DefRef {
  std::string name;
  const NodeDef* def = nullptr;
  std::shared_ptr<NodeDef> inline_def;
};

struct SubPossibility {
  Orb::PString tag;  // the configuration tag whose value chooses
  std::vector<std::pair<std::string, DefRef>> choices;  // lower-cased value -> definition
};

struct NodeDef {
  std::string name;
  ValueType type = ValueType::kUnset;

  // Tag-level words.
  bool required = false;   // "unique": present exactly once
  bool tagarray = false;   // the name is a prefix of numbered tags
  bool noerror = false;    // findings about this tag are warnings
  bool obsolete = false;   // "obsolete-tag"
  std::string replacement; // the tag to use instead, when named
  std::vector<std::string> allowed_values;  // lower-cased; empty: any value
  int numarray = -1;       // -1: not a number list; 0: any count; N: at most N numbers
  std::vector<std::string> kinds;  // kinds a referenced asset should have
  std::vector<RuleCall> rules;

  // Container-level words.
  std::vector<DefRef> includes;  // "inherit" and "container-type%i", in that order
  std::vector<std::pair<Orb::PString, std::shared_ptr<NodeDef>>> elements;
  DefRef array_element;
  bool has_array_element = false;
  std::vector<SubPossibility> subpossibilities;
  UnknownPolicy unknown = UnknownPolicy::kUnset;

  // The definition with its includes folded in (filled by Schema::Resolve).
  struct Flat {
    std::unordered_map<Orb::PString, const NodeDef*, Orb::PStringHash> elements;
    std::vector<const NodeDef*> tagarrays;
    std::vector<const NodeDef*> required;
    const NodeDef* array_element = nullptr;
    std::vector<const SubPossibility*> subpossibilities;
    UnknownPolicy unknown = UnknownPolicy::kUnset;
  } flat;
  int flat_state = 0;  // 0 not built, 1 building, 2 built

  bool IsContainer() const { return type == ValueType::kContainer; }
};

// Compiles one definition container. Rules are looked up by name in the registry; unknown
// rule names are left out.
std::shared_ptr<NodeDef> CompileDefinition(std::string_view name, const TagContainer& source);

}  // namespace QETLib
