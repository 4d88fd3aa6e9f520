// The named rules a schema definition may invoke on a tag (its "validation" container), in
// registry order, and the number-list reading they share.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/tag_container.h"
#include "search/message_catalogue.h"

namespace QETLib {

// Where the checked tag is: its container, its position there, and the way down to it.
struct TagPlace {
  const TagContainer& parent;
  uint32_t index = 0;
  std::string_view name;
  ACSChunk* value = nullptr;
  std::string_view path;                     // "mesh-table/default/mesh"
  const std::vector<std::string>* ancestors;  // enclosing container names, outermost first
};

// What a rule may look at and how it reports.
class RuleContext {
 public:
  virtual ~RuleContext() = default;
  virtual const TagContainer& Configuration() const = 0;
  // The configuration's build ("quorix-build", 1.3 when missing) plus 0.001.
  virtual double Build() const = 0;
  // The asset's folder, "" when the configuration is checked on its own.
  virtual const std::string& AssetFolder() const = 0;
  // Records the rule's finding (an error, or a warning where the schema says "noerror").
  virtual void Fail(int message, const std::vector<MessageArg>& args) = 0;
};

using RuleFunction = bool (*)(RuleContext& context, const TagPlace& tag, const TagContainer& params);

struct RuleFunctionEntry {
  std::string_view name;
  RuleFunction function;
};

std::span<const RuleFunctionEntry> RuleRegistry();
const RuleFunctionEntry* FindRule(std::string_view name);  // exact name; nullptr when none

// Reads numbers separated by commas or blanks. False when a piece is not a number; `out`
// then holds the numbers before it.
bool ReadNumberList(std::string_view text, std::vector<double>& out);

// Message numbers of the rules.
enum RuleMessage {
  kMsgNotTrackside = 153,
  kMsgTracksideTag = 154,
  kMsgNeedCollateMeshes = 155,
  kMsgNegative = 156,
  kMsgZero = 157,
  kMsgOutOfRange = 158,
  kMsgNoNumber = 159,
  kMsgOwnParent = 160,
  kMsgNotOwnParent = 161,
  kMsgTopLevelLight = 162,
  kMsgNotInLights = 163,
  kMsgNotPaired = 164,
  kMsgScriptMissing = 197,
  kMsgArraySize = 198,
};

}  // namespace QETLib
