#include "search/message_catalogue.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "content/tag_container.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

namespace {

std::mutex g_lock;
MessageCatalogue g_catalogue;

// A number no catalogue needs; bounds the table a hostile file could make us allocate.
constexpr long kMaxMessageNumber = 100000;
// Widths and precisions above this are ignored rather than padding megabytes.
constexpr long kMaxField = 200;

bool ParseMessageNumber(std::string_view name, int& number) {
  if (name.empty() || name.size() > 6) return false;
  long value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxMessageNumber) return false;
  number = static_cast<int>(value);
  return true;
}

std::string ArgText(const MessageArg& arg) {
  if (const auto* s = std::get_if<std::string>(&arg)) return *s;
  if (const auto* i = std::get_if<long long>(&arg)) return std::to_string(*i);
  return Orb::Format("%g", std::get<double>(arg));
}

}  // namespace

std::string_view MessageCatalogue::GetMessage(int number) const {
  if (number < 0 || static_cast<size_t>(number) >= texts_.size()) return {};
  return texts_[number];
}

void MessageCatalogue::Set(int number, std::string text) {
  if (number < 0) return;
  if (static_cast<size_t>(number) >= texts_.size()) texts_.resize(number + 1);
  texts_[number] = std::move(text);
}

std::string StringTableFileName(std::string_view language) {
  static const char* const kSuffixed[] = {"DE", "FR", "IT", "RU", "CZ", "PL", "ES", "CH", "SE", "CN", "NL"};
  for (const char* code : kSuffixed)
    if (Orb::EqualsIgnoreCase(language, code)) return std::string("stringtable-") + code + ".txt";
  return "stringtable.txt";
}

MessageCatalogue LoadStringTable(std::string_view language, const std::string& data_folder) {
  MessageCatalogue catalogue;
  const std::string path = Orb::FindNameIgnoreCase(data_folder, StringTableFileName(language));
  TagContainer table;
  if (path.empty() || !table.Load({}, path, "txt")) return catalogue;
  for (uint32_t i = 0; i < table.TagCount(); ++i) {
    int number = 0;
    if (!ParseMessageNumber(table.TagName(i).View(), number)) continue;
    catalogue.Set(number, TagContainer::ValueText(table.TagValue(i).Get()));
  }
  return catalogue;
}

void SetCurrentCatalogue(MessageCatalogue catalogue) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_catalogue = std::move(catalogue);
}

std::string GetMessage(int number) {
  std::lock_guard<std::mutex> guard(g_lock);
  return std::string(g_catalogue.GetMessage(number));
}

std::string FormatMessage(std::string_view text, const std::vector<MessageArg>& args) {
  std::string out;
  size_t next = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    // Flags, width and precision (digits only: "*" is never honoured).
    size_t j = i + 1;
    while (j < text.size() && std::string_view("-+ #0").find(text[j]) != std::string_view::npos) ++j;
    long field = 0;  // the larger of width and precision
    auto digits = [&] {
      long value = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
        if (value < 100000) value = value * 10 + (text[j] - '0');
        ++j;
      }
      field = std::max(field, value);
    };
    digits();
    if (j < text.size() && text[j] == '.') {
      ++j;
      digits();
    }
    while (j < text.size() && (text[j] == 'l' || text[j] == 'h')) ++j;
    const char conv = j < text.size() ? text[j] : '\0';
    const bool known = std::string_view("sdiugfexX").find(conv) != std::string_view::npos && conv != '\0';
    if (!known || next >= args.size()) {
      const size_t end = j < text.size() ? j + 1 : j;
      out.append(text.substr(i, end - i));
      i = end;
      continue;
    }
    std::string spec(text.substr(i, j - i));
    spec.erase(std::remove(spec.begin(), spec.end(), 'l'), spec.end());
    spec.erase(std::remove(spec.begin(), spec.end(), 'h'), spec.end());
    if (field > kMaxField) spec = "%";  // absurd widths are not worth honouring
    const MessageArg& arg = args[next++];
    if (conv == 's') {
      out += Orb::Format((spec + "s").c_str(), ArgText(arg).c_str());
    } else if (conv == 'd' || conv == 'i' || conv == 'u' || conv == 'x' || conv == 'X') {
      if (const auto* v = std::get_if<long long>(&arg))
        out += Orb::Format((spec + "ll" + conv).c_str(), *v);
      else if (const auto* d = std::get_if<double>(&arg))
        out += Orb::Format((spec + "ll" + conv).c_str(), static_cast<long long>(*d));
      else
        out += ArgText(arg);
    } else {
      if (const auto* d = std::get_if<double>(&arg))
        out += Orb::Format((spec + conv).c_str(), *d);
      else if (const auto* v = std::get_if<long long>(&arg))
        out += Orb::Format((spec + conv).c_str(), static_cast<double>(*v));
      else
        out += ArgText(arg);
    }
    i = j + 1;
  }
  // Values the text has no place for are not lost.
  for (; next < args.size(); ++next) out += " " + ArgText(args[next]);
  return out;
}

}  // namespace QETLib
