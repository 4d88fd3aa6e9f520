// The numbered validation messages: the catalogue file chosen by language, the process-wide
// catalogue that findings use, and a formatter that fills a catalogue text with values.
#pragma once
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace QETLib {

class MessageCatalogue {
 public:
  // The text of message `number`, or "" when the number is out of range.
  std::string_view GetMessage(int number) const;
  size_t Size() const { return texts_.size(); }
  void Set(int number, std::string text);

 private:
  std::vector<std::string> texts_;
};

// "stringtable.txt" or "stringtable-XX.txt" for a language code (any case).
std::string StringTableFileName(std::string_view language);
// Reads the catalogue of `language` from `data_folder`; tags named by a decimal number hold
// the texts. A missing or unreadable file gives an empty catalogue.
MessageCatalogue LoadStringTable(std::string_view language, const std::string& data_folder);

// The catalogue in use (empty until one is installed).
void SetCurrentCatalogue(MessageCatalogue catalogue);
std::string GetMessage(int number);

// A value for a message text.
using MessageArg = std::variant<std::string, long long, double>;

// Fills `text` like printf, but driven by the arguments given rather than trusting the
// text: each conversion (%s, %d, %i, %u, %g, %f, %e, %x, optionally with flags, width and
// precision) takes the next argument and prints it in the conversion's style when the
// types fit, as plain text otherwise; "%%" is a percent sign; a conversion with no argument
// left, or one this formatter does not know, is copied as written.
std::string FormatMessage(std::string_view text, const std::vector<MessageArg>& args);

}  // namespace QETLib
