// The schema-driven check of one configuration: picks the definition of the configuration's
// kind and walks its tags against it, recursively, running the rules that definitions invoke.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "content/kuid.h"
#include "content/tag_container.h"
#include "search/findings_handler.h"
#include "search/message_catalogue.h"
#include "search/schema.h"

namespace QETLib {

// Message numbers of the walk and of the kind selection.
enum WalkMessage {
  kMsgUnknownKindDefinition = 112,
  kMsgMissingKind = 115,
  kMsgAlias = 119,
  kMsgUnknownTag = 200,
  kMsgWrongType = 201,
  kMsgMissingTag = 202,
  kMsgValueNotAllowed = 203,
  kMsgObsoleteTag = 204,
  kMsgObsoleteTagReplaced = 205,
  kMsgNoForm = 206,
  kMsgDuplicateTag = 207,
  kMsgTooManyNumbers = 208,
  kMsgReferencedKind = 209,
  kMsgUnreadableConfig = 210,
  kMsgMissingDefinition = 211,
};

struct ValidationOptions {
  std::string asset_folder;  // where rules look for the asset's files; "" for none
  // The kind of a referenced asset, "" when unknown; without it references are not checked.
  std::function<std::string(const KUID&)> kind_of;
};

// The text of message `number` filled with `args`; "message N" when the catalogue lacks it.
std::string ComposeMessage(int number, const std::vector<MessageArg>& args);

class Container {
 public:
  Container(std::shared_ptr<const Schema> schema, FindingsHandler& findings, ValidationOptions options = {});
  virtual ~Container();
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // Checks the configuration against its kind's definition; true when nothing was found
  // that counts as an error. Configurations of builds below 2.9 are normalised first.
  virtual bool Validate(TagContainer& config);
  // Checks the tags of `container` against `def`; true when no error was found.
  virtual bool Walk(const TagContainer& container, const NodeDef& def);

  // The build the rules see ("quorix-build" + 0.001), the kind chosen, and whether an
  // "alias" tag was seen, after Validate.
  double Build() const { return build_; }
  const std::string& Kind() const { return kind_; }
  bool AliasSeen() const { return alias_seen_; }

 private:
  class Rules;
  friend class Rules;

  void WalkContainer(const TagContainer& container, const NodeDef& def);
  void CheckTag(const TagContainer& parent, uint32_t index, std::string_view name, const NodeDef& def);
  bool TypeFits(const NodeDef& def, ACSChunk* value) const;
  void Report(int severity, int message, const std::vector<MessageArg>& args);
  std::string PathTo(std::string_view name) const;

  std::shared_ptr<const Schema> schema_;
  FindingsHandler& findings_;
  ValidationOptions options_;
  const TagContainer* config_ = nullptr;
  double build_ = 1.301;
  std::string kind_;
  bool alias_seen_ = false;
  int errors_ = 0;
  bool lenient_ = false;                // the tag being checked says "noerror"
  std::vector<std::string> ancestors_;  // container names from the top down to the current one
  int depth_ = 0;
};

// Folds the numbered region and era tags of an old configuration into "category-region"
// and "category-era" lists (";"-separated, in number order after any list already there).
void NormaliseOldConfiguration(TagContainer& config);

}  // namespace QETLib
