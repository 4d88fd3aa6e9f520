#include "search/validation_rules.h"

#include <cmath>
#include <cstdlib>

#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

std::string ValueOf(const TagPlace& tag) { return TagContainer::ValueText(tag.value); }

std::string TextOf(const TagContainer& container, std::string_view name) {
  ChunkRef chunk = container.GetChunk(name);
  return IsNullChunk(chunk) ? std::string() : TagContainer::ValueText(chunk.Get());
}

bool IsTrackside(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  const TagContainer& config = context.Configuration();
  ChunkRef trackside = config.GetChunk("trackside");
  if (!IsNullChunk(trackside)) {
    std::vector<double> numbers;
    if (ReadNumberList(TagContainer::ValueText(trackside.Get()), numbers) && !numbers.empty()) return true;
    context.Fail(kMsgTracksideTag, {std::string(tag.path)});
    return false;
  }
  if (Orb::EqualsIgnoreCase(config.GetText("type"), "trackside")) {
    context.Fail(kMsgTracksideTag, {std::string(tag.path)});
    return false;
  }
  context.Fail(kMsgNotTrackside, {std::string(tag.path)});
  return false;
}

bool NeedCollateMeshes(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  if (!IsNullChunk(context.Configuration().GetChunk("collate-meshes"))) return true;
  context.Fail(kMsgNeedCollateMeshes, {std::string(tag.path)});
  return false;
}

// Shared by the sign rules: the numbers of a non-empty value, or a finding.
bool NumbersOf(RuleContext& context, const TagPlace& tag, std::vector<double>& numbers) {
  if (!ReadNumberList(ValueOf(tag), numbers) || numbers.empty()) {
    context.Fail(kMsgNoNumber, {std::string(tag.path)});
    return false;
  }
  return true;
}

// An empty value fails these two rules; it is reported as holding no number so that an
// asset is never marked faulty without a finding that says why.
bool IsPositive(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  std::vector<double> numbers;
  if (!NumbersOf(context, tag, numbers)) return false;
  for (double n : numbers) {
    if (n < 0) {
      context.Fail(kMsgNegative, {std::string(tag.path), n});
      return false;
    }
  }
  return true;
}

bool IsNotZero(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  std::vector<double> numbers;
  if (!NumbersOf(context, tag, numbers)) return false;
  for (double n : numbers) {
    if (n == 0) {
      context.Fail(kMsgZero, {std::string(tag.path)});
      return false;
    }
  }
  return true;
}

// Finds `relative` below `folder`, each component ignoring letter case; "" when absent or
// when the name would lead out of the folder.
std::string FindInFolder(const std::string& folder, const std::string& relative) {
  if (relative.empty() || relative[0] == '/') return {};
  std::string path = folder;
  size_t pos = 0;
  while (pos < relative.size()) {
    size_t end = relative.find('/', pos);
    if (end == std::string::npos) end = relative.size();
    const std::string component = relative.substr(pos, end - pos);
    if (!component.empty()) {
      if (!Orb::Path::IsSafeComponent(component)) return {};
      path = Orb::FindNameIgnoreCase(path, component);
      if (path.empty()) return {};
    }
    pos = end + 1;
  }
  return path;
}

bool ScriptFileExists(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  const std::string& folder = context.AssetFolder();
  if (folder.empty()) return true;  // nothing to look in: a configuration checked on its own
  const std::string name = Orb::Path::ReplaceBackSlashes(ValueOf(tag));
  std::string found = FindInFolder(folder, name);
  // A scrambled source stands in for its plain one.
  if (found.empty() && Orb::Path::IsExt(name, "gs")) found = FindInFolder(folder, name + "e");
  if (!found.empty() && Orb::File::IsRegularFile(found)) return true;
  context.Fail(kMsgScriptMissing, {std::string(tag.path), name});
  return false;
}

bool ReadBound(const TagContainer& params, std::string_view name, double fallback, double& out) {
  std::vector<double> numbers;
  const std::string text = TextOf(params, name);
  out = fallback;
  if (text.empty()) return true;
  if (!ReadNumberList(text, numbers) || numbers.size() != 1) return false;
  out = numbers[0];
  return true;
}

bool Range(RuleContext& context, const TagPlace& tag, const TagContainer& params) {
  double min = 0, max = 0;
  // A bound the schema gives unreadably is left open rather than failing every asset.
  if (!ReadBound(params, "min", -HUGE_VAL, min)) min = -HUGE_VAL;
  if (!ReadBound(params, "max", HUGE_VAL, max)) max = HUGE_VAL;
  std::vector<double> numbers;
  if (!NumbersOf(context, tag, numbers)) return false;
  for (double n : numbers) {
    if (n < min || n > max) {
      context.Fail(kMsgOutOfRange, {std::string(tag.path), n, min, max});
      return false;
    }
  }
  return true;
}

bool ArraySize(RuleContext& context, const TagPlace& tag, const TagContainer& params) {
  if (context.Build() < 2.89) return true;
  const long long size = params.GetInt("size", 0);
  std::vector<double> numbers;
  ReadNumberList(ValueOf(tag), numbers);
  if (static_cast<long long>(numbers.size()) == size) return true;
  context.Fail(kMsgArraySize, {std::string(tag.name), size, static_cast<long long>(numbers.size())});
  return false;
}

std::string OwnEntry(const TagPlace& tag) {
  return tag.ancestors && !tag.ancestors->empty() ? tag.ancestors->back() : std::string();
}

bool NotOwnParent(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  const std::string entry = OwnEntry(tag);
  const std::string value = ValueOf(tag);
  if (entry.empty() || !Orb::EqualsIgnoreCase(value, entry)) return true;
  context.Fail(kMsgOwnParent, {std::string(tag.path), value});
  return false;
}

bool MustBeOwnParent(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  const std::string entry = OwnEntry(tag);
  const std::string value = ValueOf(tag);
  if (!entry.empty() && Orb::EqualsIgnoreCase(value, entry)) return true;
  context.Fail(kMsgNotOwnParent, {std::string(tag.path), value, entry});
  return false;
}

bool MustBeInLightContainer(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  if (!tag.ancestors || tag.ancestors->empty()) {
    context.Fail(kMsgTopLevelLight, {std::string(tag.path)});
    return false;
  }
  for (const std::string& name : *tag.ancestors)
    if (name == "lights") return true;
  context.Fail(kMsgNotInLights, {std::string(tag.path)});
  return false;
}

bool MustBePaired(RuleContext& context, const TagPlace& tag, const TagContainer&) {
  const std::string value = ValueOf(tag);
  const std::string stored = TextOf(tag.parent, "initial-count");
  const std::string_view count = stored.empty() ? std::string_view("0") : std::string_view(stored);
  bool paired = true;
  if (value == "1") paired = count != "0";
  else if (value == "0") paired = count == "0";
  if (paired) return true;
  context.Fail(kMsgNotPaired, {std::string(tag.path), std::string(count)});
  return false;
}

constexpr RuleFunctionEntry kRules[] = {
    {"istracksidetype", IsTrackside},
    {"needcollatemeshes", NeedCollateMeshes},
    {"ispositive", IsPositive},
    {"isnotzero", IsNotZero},
    {"scriptfileexists", ScriptFileExists},
    {"range", Range},
    {"arraysize", ArraySize},
    {"notownparent", NotOwnParent},
    {"mustbeownparent", MustBeOwnParent},
    {"mustbeinlightcontainer", MustBeInLightContainer},
    {"mustbepaired", MustBePaired},
};

}  // namespace

std::span<const RuleFunctionEntry> RuleRegistry() { return kRules; }

const RuleFunctionEntry* FindRule(std::string_view name) {
  for (const RuleFunctionEntry& rule : kRules)
    if (rule.name == name) return &rule;
  return nullptr;
}

bool ReadNumberList(std::string_view text, std::vector<double>& out) {
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ',' || text[pos] == ' ' || text[pos] == '\t' ||
                                 text[pos] == '\r' || text[pos] == '\n'))
      ++pos;
    if (pos >= text.size()) break;
    size_t end = pos;
    while (end < text.size() && text[end] != ',' && text[end] != ' ' && text[end] != '\t' &&
           text[end] != '\r' && text[end] != '\n')
      ++end;
    const std::string piece(text.substr(pos, end - pos));
    char* stop = nullptr;
    const double value = std::strtod(piece.c_str(), &stop);
    if (stop == piece.c_str() || *stop != '\0' || !std::isfinite(value)) return false;
    out.push_back(value);
    pos = end;
  }
  return true;
}

}  // namespace QETLib
