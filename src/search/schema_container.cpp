#include "search/schema_container.h"

#include <algorithm>
#include <cstdio>

#include "content/converters.h"
#include "engine/text.h"
#include "search/validation_rules.h"

namespace QETLib {

namespace {

// Containers nested deeper than this are not walked (hostile or broken content).
constexpr int kMaxDepth = 100;
constexpr int kMsgTooDeep = 212;
// Subpossibilities may add forms that add further forms; a few rounds are plenty.
constexpr size_t kMaxScope = 16;

std::string ValueText(ACSChunk* value) { return TagContainer::ValueText(value); }

std::string_view LocalisedBase(std::string_view name) {
  for (std::string_view base : {std::string_view("description"), std::string_view("username")}) {
    if (name.size() > base.size() + 1 && name.substr(0, base.size()) == base && name[base.size()] == '-')
      return base;
  }
  return {};
}

bool IsNumberedName(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
  for (char c : name.substr(prefix.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

uint32_t ElementCount(ACSChunk* value) { return value->GetDataSize() / 4; }

bool NumericText(std::string_view text) {
  std::vector<double> numbers;
  return ReadNumberList(text, numbers) && numbers.size() == 1;
}

const NodeDef* Lookup(const std::vector<const NodeDef*>& scope, const Orb::PString& name) {
  for (const NodeDef* def : scope) {
    auto it = def->flat.elements.find(name);
    if (it != def->flat.elements.end()) return it->second;
  }
  return nullptr;
}

}  // namespace

std::string ComposeMessage(int number, const std::vector<MessageArg>& args) {
  const std::string text = GetMessage(number);
  if (!text.empty()) return FormatMessage(text, args);
  std::string out = "message " + std::to_string(number);
  const std::string values = FormatMessage("", args);  // the values, each after a blank
  if (!values.empty()) out += ":" + values;
  return out;
}

// What the rules see of the walk.
class Container::Rules : public RuleContext {
 public:
  explicit Rules(Container& owner) : owner_(owner) {}
  const TagContainer& Configuration() const override { return *owner_.config_; }
  double Build() const override { return owner_.build_; }
  const std::string& AssetFolder() const override { return owner_.options_.asset_folder; }
  void Fail(int message, const std::vector<MessageArg>& args) override {
    owner_.Report(Finding::kError, message, args);
  }

 private:
  Container& owner_;
};

Container::Container(std::shared_ptr<const Schema> schema, FindingsHandler& findings, ValidationOptions options)
    : schema_(std::move(schema)), findings_(findings), options_(std::move(options)) {}

Container::~Container() = default;

void Container::Report(int severity, int message, const std::vector<MessageArg>& args) {
  if (severity == Finding::kError && lenient_) severity = Finding::kWarning;
  if (severity == Finding::kError) ++errors_;
  // The first value of every walk message is the place it concerns.
  std::string context = kind_;
  if (!args.empty())
    if (const auto* place = std::get_if<std::string>(&args[0])) context = *place;
  findings_.Report(severity, context, ComposeMessage(message, args));
}

std::string Container::PathTo(std::string_view name) const {
  std::string path;
  for (const std::string& ancestor : ancestors_) {
    path += ancestor;
    path += '/';
  }
  path += name;
  return path;
}

bool Container::Validate(TagContainer& config) {
  config_ = &config;
  errors_ = 0;
  ancestors_.clear();
  build_ = static_cast<double>(config.GetFloat("quorix-build", 1.3f)) + 0.001;
  const bool old = build_ * 100 < 290;
  if (old) {
    NormaliseOldConfiguration(config);
    config.SetFloat("quorix-build", 2.9f);
  }

  kind_ = Orb::ToLower(config.GetText("kind"));
  if (kind_ == "bridge") {
    const float height = config.GetFloat("height", 0.0f);
    kind_ = height < -0.001f ? "bridge" : height > 0.001f ? "tunnel" : "double-track";
  } else if (kind_ == "track" && old) {
    kind_ = config.HasTag("chunky_mesh") ? "chunky-track"
            : config.HasTag("unit_mesh") ? "mesh-reducing-track"
                                         : "obsolete-track";
  } else if (kind_ == "scenery" && !IsNullChunk(config.GetChunk("trackside"))) {
    kind_ = "scenery-trackside";
  }

  if (kind_.empty()) {
    Report(Finding::kError, kMsgMissingKind, {std::string("kind")});
    return false;
  }
  const NodeDef* def = schema_->Find(kind_);
  if (!def) {
    Report(Finding::kError, kMsgUnknownKindDefinition, {kind_});
    return false;
  }
  if (!IsNullChunk(config.GetChunk("alias"))) {
    alias_seen_ = true;
    Report(Finding::kWarning, kMsgAlias, {std::string("alias")});
  }
  const int before = errors_;
  Walk(config, *def);
  return errors_ == before;
}

bool Container::Walk(const TagContainer& container, const NodeDef& def) {
  if (!config_) config_ = &container;
  const int before = errors_;
  WalkContainer(container, def);
  return errors_ == before;
}

void Container::WalkContainer(const TagContainer& container, const NodeDef& def) {
  // The forms in force: the definition, then those its subpossibilities choose.
  std::vector<const NodeDef*> scope{&def};
  for (size_t s = 0; s < scope.size() && scope.size() < kMaxScope; ++s) {
    for (const DefRef& include : scope[s]->includes)
      if (!include.def && !include.name.empty())
        Report(Finding::kWarning, kMsgMissingDefinition, {include.name, scope[s]->name});
    for (const SubPossibility* sub : scope[s]->flat.subpossibilities) {
      ChunkRef chosen_by = container.GetChunk(sub->tag.View());
      if (IsNullChunk(chosen_by)) continue;
      const std::string value = Orb::ToLower(ValueText(chosen_by.Get()));
      auto choice = std::find_if(sub->choices.begin(), sub->choices.end(),
                                 [&](const auto& c) { return c.first == value; });
      if (choice == sub->choices.end()) {
        Report(Finding::kError, kMsgNoForm, {PathTo(sub->tag.View()), value});
      } else if (!choice->second.def) {
        Report(Finding::kWarning, kMsgMissingDefinition, {choice->second.name, scope[s]->name});
      } else if (std::find(scope.begin(), scope.end(), choice->second.def) == scope.end()) {
        scope.push_back(choice->second.def);
      }
    }
  }

  const uint32_t count = container.TagCount();
  for (uint32_t i = 0; i < count; ++i) {
    const Orb::PString name = container.TagName(i);
    const std::string_view text = name.View();
    if (text == "sequence") continue;  // ordered animation steps: taken as they are
    const NodeDef* element = Lookup(scope, name);
    if (!element) {
      const std::string_view base = LocalisedBase(text);
      if (!base.empty()) element = Lookup(scope, Orb::PString(base));
    }
    for (size_t s = 0; !element && s < scope.size(); ++s)
      for (const NodeDef* tagarray : scope[s]->flat.tagarrays)
        if (IsNumberedName(text, tagarray->name)) {
          element = tagarray;
          break;
        }
    for (size_t s = 0; !element && s < scope.size(); ++s) element = scope[s]->flat.array_element;
    if (!element) {
      UnknownPolicy policy = UnknownPolicy::kUnset;
      for (size_t s = 0; policy == UnknownPolicy::kUnset && s < scope.size(); ++s) policy = scope[s]->flat.unknown;
      if (policy == UnknownPolicy::kAccept) continue;
      Report(policy == UnknownPolicy::kWarning ? Finding::kWarning : Finding::kError, kMsgUnknownTag, {PathTo(text)});
      continue;
    }
    CheckTag(container, i, text, *element);
  }

  // Required tags: present exactly once.
  for (const NodeDef* form : scope) {
    for (const NodeDef* required : form->flat.required) {
      const Orb::PString wanted(required->name);
      int found = 0;
      for (uint32_t i = 0; i < count; ++i) found += container.TagName(i) == wanted;
      const bool saved = lenient_;
      lenient_ = required->noerror;
      if (found == 0) Report(Finding::kError, kMsgMissingTag, {PathTo(required->name)});
      if (found > 1) Report(Finding::kError, kMsgDuplicateTag, {PathTo(required->name)});
      lenient_ = saved;
    }
  }
}

bool Container::TypeFits(const NodeDef& def, ACSChunk* value) const {
  const int32_t type = value->GetType();
  if (def.numarray >= 0) {
    if (type == kTypeInt || type == kTypeFloat) return ElementCount(value) >= 1;
    std::vector<double> numbers;
    return type == kTypeString && ReadNumberList(ValueText(value), numbers) && !numbers.empty();
  }
  switch (def.type) {
    case ValueType::kContainer: return type == kTypeContainer;
    case ValueType::kString: return type != kTypeContainer && type != kTypeBinary;
    case ValueType::kEmpty: return type == kTypeNull || (type == kTypeString && ValueText(value).empty());
    case ValueType::kKuid:
      if (type == kTypeKUID) return ElementCount(value) >= 2;
      return type == kTypeString && Orb::StartsWithIgnoreCase(ValueText(value), "<kuid") &&
             !Parse(ValueText(value), false).IsNull();
    case ValueType::kInteger:
    case ValueType::kBoolean: {
      if (type == kTypeInt && ElementCount(value) != 1) return false;
      if (type != kTypeInt && type != kTypeFloat && type != kTypeString) return false;
      std::vector<double> numbers;
      if (!ReadNumberList(ValueText(value), numbers) || numbers.size() != 1) return false;
      const double n = numbers[0];
      if (def.type == ValueType::kBoolean) return n == 0 || n == 1;
      return n == static_cast<double>(static_cast<long long>(n));
    }
    case ValueType::kNumber:
      if (type == kTypeInt || type == kTypeFloat) return ElementCount(value) == 1;
      return type == kTypeString && NumericText(ValueText(value));
    default: return true;
  }
}

void Container::CheckTag(const TagContainer& parent, uint32_t index, std::string_view name, const NodeDef& def) {
  ChunkRef value = parent.TagValue(index);
  const std::string path = PathTo(name);
  const bool saved = lenient_;
  lenient_ = def.noerror;

  if (def.obsolete) {
    if (def.replacement.empty()) Report(Finding::kWarning, kMsgObsoleteTag, {path});
    else Report(Finding::kWarning, kMsgObsoleteTagReplaced, {path, def.replacement});
  }
  if (!TypeFits(def, value.Get())) {
    Report(Finding::kError, kMsgWrongType,
           {path, std::string(def.numarray >= 0 ? std::string_view("a list of numbers") : ValueTypeName(def.type))});
    lenient_ = saved;
    return;
  }
  const bool is_container = value->GetType() == kTypeContainer;
  if (!is_container && !def.allowed_values.empty()) {
    const std::string text = ValueText(value.Get());
    const std::string lowered = Orb::ToLower(text);
    if (std::find(def.allowed_values.begin(), def.allowed_values.end(), lowered) == def.allowed_values.end()) {
      std::string allowed;
      for (const std::string& v : def.allowed_values) allowed += (allowed.empty() ? "" : ", ") + v;
      Report(Finding::kError, kMsgValueNotAllowed, {path, text, allowed});
    }
  }
  if (def.numarray > 0) {
    std::vector<double> numbers;
    ReadNumberList(ValueText(value.Get()), numbers);
    if (numbers.size() > static_cast<size_t>(def.numarray))
      Report(Finding::kError, kMsgTooManyNumbers, {path, static_cast<long long>(numbers.size()),
                                                   static_cast<long long>(def.numarray)});
  }
  if (!def.kinds.empty() && options_.kind_of && value->GetType() == kTypeKUID) {
    const KUID target = parent.GetKUID(name);
    const std::string kind = Orb::ToLower(options_.kind_of(target));
    if (!kind.empty() && std::find(def.kinds.begin(), def.kinds.end(), kind) == def.kinds.end()) {
      std::string expected;
      for (const std::string& k : def.kinds) expected += (expected.empty() ? "" : ", ") + k;
      Report(Finding::kWarning, kMsgReferencedKind, {path, ToBracketString(target), kind, expected});
    }
  }
  if (!def.rules.empty()) {
    Rules rules(*this);
    const TagPlace place{parent, index, name, value.Get(), path, &ancestors_};
    for (const RuleCall& call : def.rules)
      if (!call.rule->function(rules, place, call.params) && !lenient_) ++errors_;
  }
  lenient_ = saved;

  if (is_container && def.IsContainer()) {
    if (static_cast<int>(ancestors_.size()) >= kMaxDepth) {
      Report(Finding::kError, kMsgTooDeep, {path});
      return;
    }
    ancestors_.emplace_back(name);
    WalkContainer(TagContainer(value), def);
    ancestors_.pop_back();
  }
}

void NormaliseOldConfiguration(TagContainer& config) {
  for (std::string_view list : {std::string_view("category-region"), std::string_view("category-era")}) {
    const std::string prefix = std::string(list) + "-";
    struct Numbered {
      long number;
      std::string name, code;
    };
    std::vector<Numbered> numbered;
    for (uint32_t i = 0; i < config.TagCount(); ++i) {
      const Orb::PString tag = config.TagName(i);  // keeps the name alive while it is read
      const std::string_view name = tag.View();
      if (!IsNumberedName(name, prefix) || name.size() - prefix.size() > 6) continue;
      numbered.push_back(Numbered{std::atol(std::string(name.substr(prefix.size())).c_str()), std::string(name),
                                  ValueText(config.TagValue(i).Get())});
    }
    if (numbered.empty()) continue;
    std::stable_sort(numbered.begin(), numbered.end(), [](const Numbered& a, const Numbered& b) { return a.number < b.number; });
    std::string joined = config.GetText(list);
    for (const Numbered& entry : numbered) {
      if (entry.code.empty()) continue;
      if (!joined.empty()) joined += ';';
      joined += entry.code;
    }
    for (const Numbered& entry : numbered) config.RemoveTag(entry.name);
    config.SetString(list, joined);
  }
}

}  // namespace QETLib
