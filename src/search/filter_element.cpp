#include "search/filter_element.h"

#include "engine/text.h"
#include "search/asset_flag_tests.h"
#include "search/category_expression.h"

namespace QETLib {

bool QADFilterElement::IsEqual(const QADFilterElement& other) const {
  return GetName() == other.GetName() && GetValue() == other.GetValue();
}

Orb::PString QADFilterElementBool::GetName() const { return Orb::PString(FlagTestName(test_)); }

Orb::PString QADFilterElementBool::GetValue() const {
  static const Orb::PString kTrue("true");
  return kTrue;
}

bool QADFilterElementBool::Matches(const AssetView& asset) const { return TestFlag(test_, asset); }

QADFilterElementString::QADFilterElementString(int selector, std::string text)
    : selector_(selector), text_(std::move(text)) {
  if (selector_ == kAssetName && text_.size() > 1 && text_.front() == '"' && text_.back() == '"') {
    text_ = text_.substr(1, text_.size() - 2);
    exact_ = true;
  }
  value_ = Orb::PString(text_);
}

Orb::PString QADFilterElementString::GetName() const {
  static const char* const kNames[] = {"asset-name", "category-list", "era-list", "keyword-list", "region-list"};
  if (selector_ < 0 || selector_ > kRegionList) return Orb::PString("unknown");
  return Orb::PString(kNames[selector_]);
}

Orb::PString QADFilterElementString::GetValue() const { return value_; }

bool QADFilterElementString::Matches(const AssetView& asset) const {
  switch (selector_) {
    case kAssetName: return NameMatches(asset.DisplayName(), text_, exact_);
    case kCategoryList: return MatchesCategory(text_, asset.CategoryClass());
    case kEraList: return MatchesCategory(text_, asset.CategoryEras());
    case kKeywordList: return MatchesKeywords(asset.KeywordText(), text_);
    case kRegionList: return MatchesCategory(text_, asset.CategoryRegions());
    default: return false;
  }
}

Orb::PString QADFilterElementGroup::GetName() const { return Orb::PString("group"); }

Orb::PString QADFilterElementGroup::GetValue() const {
  std::string text = "(";
  for (const auto& element : elements_) {
    text += element->GetName().View();
    text += ':';
    text += element->GetValue().View();
  }
  text += ')';
  return Orb::PString(text);
}

bool QADFilterElementGroup::IsEqual(const QADFilterElement& other) const {
  const auto* group = dynamic_cast<const QADFilterElementGroup*>(&other);
  if (!group || group->elements_.size() != elements_.size() || group->mode_ != mode_ ||
      group->negate_ != negate_)
    return false;
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (!elements_[i]->IsEqual(*group->elements_[i]) || !group->elements_[i]->IsEqual(*elements_[i]))
      return false;
  }
  return true;
}

bool QADFilterElementGroup::Matches(const AssetView& asset) const {
  const bool result = !negate_;
  if (mode_ == kAll) {
    for (const auto& element : elements_)
      if (!element->Matches(asset)) return !result;
    return result;
  }
  for (const auto& element : elements_)
    if (element->Matches(asset)) return result;
  // An empty group holds in either mode (negated: fails).
  return elements_.empty() ? result : !result;
}

void RunFilter(const QADFilterElement& element, const AssetSource& index, std::vector<KUID>& result) {
  index.ForEachAsset([&](const AssetView& asset) {
    if (element.Matches(asset)) result.push_back(asset.Kuid());
  });
}

}  // namespace QETLib
