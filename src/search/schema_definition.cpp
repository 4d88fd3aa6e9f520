#include "search/schema_definition.h"

#include <algorithm>

#include "engine/text.h"
#include "search/validation_rules.h"

namespace QETLib {

namespace {

constexpr int kMaxNesting = 64;

struct TypeName {
  std::string_view name;
  ValueType type;
};

constexpr TypeName kTypeNames[] = {
    {"any", ValueType::kAny},         {"string", ValueType::kString},   {"text", ValueType::kString},
    {"integer", ValueType::kInteger}, {"int", ValueType::kInteger},     {"number", ValueType::kNumber},
    {"float", ValueType::kNumber},    {"boolean", ValueType::kBoolean}, {"bool", ValueType::kBoolean},
    {"kuid", ValueType::kKuid},       {"container", ValueType::kContainer}, {"empty", ValueType::kEmpty},
    {"none", ValueType::kEmpty},
};

// Splits on "," and ";", trimming blanks; empty pieces are dropped.
std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of(",;", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view piece = text.substr(pos, end - pos);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    if (!piece.empty()) out.emplace_back(piece);
    pos = end + 1;
  }
  return out;
}

bool IsOn(const TagContainer& source, uint32_t index) {
  const std::string text = TagContainer::ValueText(source.TagValue(index).Get());
  return text.empty() || (text != "0" && !Orb::EqualsIgnoreCase(text, "false"));
}

DefRef MakeRef(std::string_view owner, uint32_t index, const TagContainer& source) {
  DefRef ref;
  ChunkRef value = source.TagValue(index);
  if (value->GetType() == kTypeContainer) {
    ref.inline_def = CompileDefinition(owner, TagContainer(value));
    ref.def = ref.inline_def.get();
  } else {
    ref.name = TagContainer::ValueText(value.Get());
  }
  return ref;
}

bool IsContainerTypeTag(std::string_view name) {
  constexpr std::string_view kPrefix = "container-type";
  if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return false;
  if (name.size() - kPrefix.size() > 4) return false;
  for (char c : name.substr(kPrefix.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

ValueType ValueTypeFromName(std::string_view name) {
  for (const TypeName& row : kTypeNames)
    if (Orb::EqualsIgnoreCase(row.name, name)) return row.type;
  return ValueType::kUnset;
}

std::string_view ValueTypeName(ValueType type) {
  switch (type) {
    case ValueType::kString: return "text";
    case ValueType::kInteger: return "a whole number";
    case ValueType::kNumber: return "a number";
    case ValueType::kBoolean: return "0 or 1";
    case ValueType::kKuid: return "a KUID";
    case ValueType::kContainer: return "a container";
    case ValueType::kEmpty: return "no value";
    default: return "a value";
  }
}

std::shared_ptr<NodeDef> CompileDefinition(std::string_view name, const TagContainer& source) {
  auto def = std::make_shared<NodeDef>();
  def->name = std::string(name);
  // Definitions nested deeper than any schema needs are taken as accepting anything, so a
  // hostile schema cannot exhaust the stack.
  static thread_local int depth = 0;
  if (depth >= kMaxNesting) {
    def->type = ValueType::kAny;
    return def;
  }
  struct Nesting {
    Nesting() { ++depth; }
    ~Nesting() { --depth; }
  } nesting;
  bool container_words = false;
  // container-type%i tags count from 0 and stop at the first gap.
  std::vector<std::pair<int, DefRef>> container_types;
  for (uint32_t i = 0; i < source.TagCount(); ++i) {
    const Orb::PString tag = source.TagName(i);  // keeps the name alive while it is read
    const std::string_view word = tag.View();
    ChunkRef value = source.TagValue(i);
    const std::string text = value->GetType() == kTypeContainer ? std::string()
                                                                 : TagContainer::ValueText(value.Get());
    if (word == "element-type") {
      def->type = ValueTypeFromName(text);
      if (def->type == ValueType::kUnset) def->type = ValueType::kAny;
    } else if (word == "element") {
      container_words = true;
      TagContainer elements(value);
      if (value->GetType() != kTypeContainer) continue;
      for (uint32_t e = 0; e < elements.TagCount(); ++e) {
        ChunkRef element = elements.TagValue(e);
        TagContainer body = element->GetType() == kTypeContainer ? TagContainer(element) : TagContainer();
        def->elements.emplace_back(elements.TagName(e), CompileDefinition(elements.TagName(e).View(), body));
      }
    } else if (word == "inherit") {
      container_words = true;
      for (std::string& target : SplitList(text)) def->includes.push_back(DefRef{std::move(target), nullptr, {}});
    } else if (IsContainerTypeTag(word)) {
      container_words = true;
      int number = 0;
      for (char c : word.substr(std::string_view("container-type").size())) number = number * 10 + (c - '0');
      container_types.emplace_back(number, MakeRef(word, i, source));
    } else if (word == "array-element") {
      container_words = true;
      def->array_element = MakeRef(word, i, source);
      def->has_array_element = true;
    } else if (word == "subpossibilities") {
      container_words = true;
      if (value->GetType() != kTypeContainer) continue;
      TagContainer subs(value);
      for (uint32_t s = 0; s < subs.TagCount(); ++s) {
        ChunkRef choices_chunk = subs.TagValue(s);
        if (choices_chunk->GetType() != kTypeContainer) continue;
        TagContainer choices(choices_chunk);
        SubPossibility sub;
        sub.tag = subs.TagName(s);
        for (uint32_t c = 0; c < choices.TagCount(); ++c)
          sub.choices.emplace_back(Orb::ToLower(choices.TagName(c).View()), MakeRef(choices.TagName(c).View(), c, choices));
        def->subpossibilities.push_back(std::move(sub));
      }
    } else if (word == "unknown") {
      container_words = true;
      if (Orb::EqualsIgnoreCase(text, "accept") || Orb::EqualsIgnoreCase(text, "1"))
        def->unknown = UnknownPolicy::kAccept;
      else if (Orb::EqualsIgnoreCase(text, "warning"))
        def->unknown = UnknownPolicy::kWarning;
      else
        def->unknown = UnknownPolicy::kError;
    } else if (word == "unique") {
      def->required = IsOn(source, i);
    } else if (word == "tagarray") {
      def->tagarray = IsOn(source, i);
    } else if (word == "noerror") {
      def->noerror = IsOn(source, i);
    } else if (word == "obsolete-tag") {
      def->obsolete = true;
      if (text != "1") def->replacement = text;
    } else if (word == "numarray") {
      int max = 0;
      for (char c : text) {
        if (c < '0' || c > '9' || max > 100000) break;
        max = max * 10 + (c - '0');
      }
      def->numarray = max;
    } else if (word == "value") {
      if (value->GetType() == kTypeContainer) {
        TagContainer values(value);
        for (uint32_t v = 0; v < values.TagCount(); ++v)
          def->allowed_values.push_back(Orb::ToLower(TagContainer::ValueText(values.TagValue(v).Get())));
      } else {
        for (std::string& allowed : SplitList(text)) def->allowed_values.push_back(Orb::ToLower(allowed));
      }
    } else if (word == "kind") {
      for (std::string& kind : SplitList(text)) def->kinds.push_back(Orb::ToLower(kind));
    } else if (word == "validation") {
      if (value->GetType() != kTypeContainer) continue;
      TagContainer rules(value);
      for (uint32_t r = 0; r < rules.TagCount(); ++r) {
        const RuleFunctionEntry* rule = FindRule(rules.TagName(r).View());
        if (!rule) continue;
        ChunkRef params = rules.TagValue(r);
        def->rules.push_back(RuleCall{rule, params->GetType() == kTypeContainer ? TagContainer(params) : TagContainer()});
      }
    }
    // "description" and "tooltip" document the definition for editors; nothing to check.
  }
  std::sort(container_types.begin(), container_types.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t k = 0; k < container_types.size() && container_types[k].first == static_cast<int>(k); ++k)
    def->includes.push_back(std::move(container_types[k].second));
  if (def->type == ValueType::kUnset) def->type = container_words ? ValueType::kContainer : ValueType::kAny;
  return def;
}

}  // namespace QETLib
