// One asset's entry in the asset index: packed text storage and the derived keyword text.
#include "database/asset_record.h"


namespace QETLib {

std::string_view AssetRecord::Text(TextField field) const {
  uint32_t begin = field == 0 ? 0 : ends_[field - 1];
  return std::string_view(texts_).substr(begin, ends_[field] - begin);
}

void AssetRecord::SetText(TextField field, std::string_view value) {
  uint32_t begin = field == 0 ? 0 : ends_[field - 1];
  uint32_t old_size = ends_[field] - begin;
  if (old_size == value.size() && Text(field) == value) return;
  texts_.replace(begin, old_size, value);
  int64_t delta = static_cast<int64_t>(value.size()) - static_cast<int64_t>(old_size);
  for (int i = field; i < kTextFieldCount; ++i) ends_[i] = static_cast<uint32_t>(ends_[i] + delta);
}

void AssetRecord::AssignTexts(const std::string_view (&texts)[kTextFieldCount]) {
  size_t total = 0;
  for (std::string_view text : texts) total += text.size();
  std::string packed;
  packed.reserve(total);
  for (int i = 0; i < kTextFieldCount; ++i) {
    packed.append(texts[i]);
    ends_[i] = static_cast<uint32_t>(packed.size());
  }
  texts_.swap(packed);
}

std::string_view AssetRecord::DisplayName() const {
  std::string_view localised = LocalisedName();
  return localised.empty() ? Name() : localised;
}

namespace {

struct ClassWord {
  const char* code;
  const char* word;
};

// Codes of the category class and the search words they stand for.
constexpr ClassWord kClassWords[] = {
    {"LOCO", "locomotive"}, {"LOC", "locomotive"}, {"TEND", "tender"},   {"ROLL", "rollingstock"},
    {"ACTV", "interactive"}, {"BOGY", "bogey"},     {"ESPC", "engine"},  {"MESH", "mesh"},
    {"BRG", "bridge"},       {"TUN", "tunnel"},     {"SIG", "signal"},   {"TANK", "tank"},
    {"FRT", "freight"},      {"ELEC", "electric"},  {"REGN", "region"},  {"IND", "industry"},
};

}  // namespace

namespace {

// Appends the word of each class code once, each after a ";" unless `out` is empty, and
// only when `out` does not hold it already.
void AppendClassWords(std::string_view category_class, std::string& out) {
  size_t start = 0;
  while (start <= category_class.size()) {
    size_t end = category_class.find(';', start);
    if (end == std::string_view::npos) end = category_class.size();
    std::string_view code = category_class.substr(start, end - start);
    for (const ClassWord& entry : kClassWords) {
      if (code != entry.code) continue;
      if (out.find(entry.word) == std::string::npos) {
        if (!out.empty()) out += ';';
        out += entry.word;
      }
      break;
    }
    start = end + 1;
  }
}

}  // namespace

std::string ClassKeywordWords(std::string_view category_class) {
  std::string words;
  AppendClassWords(category_class, words);
  return words;
}

void BuildKeywordText(std::string_view keywords, std::string_view category_class, std::string& out) {
  // A word already among the keywords (as after a keyword import of a backup) is not repeated.
  out.assign(keywords);
  AppendClassWords(category_class, out);
}

void AssetRecord::RebuildKeywordText() {
  std::string text;
  BuildKeywordText(CategoryKeywords(), CategoryClass(), text);
  SetText(kKeywordText, text);
}

}  // namespace QETLib
