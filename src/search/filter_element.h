// Filter objects that select assets: one flag test, one text test on a record field, and
// groups of them (all/any, optionally negated). A group owns the elements it holds.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/pstring.h"
#include "search/asset_view.h"

namespace QETLib {

class QADFilterElement {
 public:
  virtual ~QADFilterElement() = default;
  virtual Orb::PString GetName() const = 0;
  virtual Orb::PString GetValue() const = 0;
  // Both names and both values equal.
  virtual bool IsEqual(const QADFilterElement& other) const;
  virtual bool Matches(const AssetView& asset) const = 0;
};

// One numbered flag test (see asset_flag_tests.h); its value is "true".
class QADFilterElementBool : public QADFilterElement {
 public:
  explicit QADFilterElementBool(int test) : test_(test) {}
  Orb::PString GetName() const override;
  Orb::PString GetValue() const override;
  bool Matches(const AssetView& asset) const override;
  int Test() const { return test_; }

 private:
  int test_;
};

// A text tested against one field of the record.
class QADFilterElementString : public QADFilterElement {
 public:
  enum Selector { kAssetName = 0, kCategoryList = 1, kEraList = 2, kKeywordList = 3, kRegionList = 4 };

  // An asset name of more than one character enclosed in double quotes is kept without
  // them and compared exactly (ignoring case); otherwise it is looked for inside the name.
  QADFilterElementString(int selector, std::string text);
  Orb::PString GetName() const override;
  Orb::PString GetValue() const override;
  bool Matches(const AssetView& asset) const override;
  bool Exact() const { return exact_; }

 private:
  int selector_;
  std::string text_;
  Orb::PString value_;
  bool exact_ = false;
};

class QADFilterElementGroup : public QADFilterElement {
 public:
  enum Mode { kAny = 0, kAll = 1 };

  explicit QADFilterElementGroup(Mode mode = kAll, bool negate = false) : mode_(mode), negate_(negate) {}
  Orb::PString GetName() const override;
  // "(" then name ":" value of each element, then ")".
  Orb::PString GetValue() const override;
  bool IsEqual(const QADFilterElement& other) const override;
  bool Matches(const AssetView& asset) const override;

  void Add(std::unique_ptr<QADFilterElement> element) { elements_.push_back(std::move(element)); }
  void SetMode(Mode mode) { mode_ = mode; }
  void SetNegate(bool negate) { negate_ = negate; }
  Mode GetMode() const { return mode_; }
  bool Negated() const { return negate_; }
  size_t Count() const { return elements_.size(); }
  const QADFilterElement& At(size_t i) const { return *elements_[i]; }

 private:
  std::vector<std::unique_ptr<QADFilterElement>> elements_;
  Mode mode_;
  bool negate_;
};

// Appends the KUID of every record the element matches, in index order.
void RunFilter(const QADFilterElement& element, const AssetSource& index, std::vector<KUID>& result);

}  // namespace QETLib
