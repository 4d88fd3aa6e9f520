// Value conversion between chunk types: the registered `ACSConverter`s (text <-> int,
// float, KUID) and `ConvertValue`, which chains two of them where no direct one exists.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "content/chunk.h"

namespace QETLib {

class ACSConverter {
 public:
  ACSConverter(int32_t from, int32_t to) : from_(from), to_(to) {}
  virtual ~ACSConverter() = default;
  int32_t From() const { return from_; }
  int32_t To() const { return to_; }
  virtual DataRef Convert(const DataRef& bytes) const = 0;

 private:
  int32_t from_, to_;
};

// `bytes` of type `from` as type `to`, or none.
DataRef ConvertValue(int32_t from, const DataRef& bytes, int32_t to);

// The numeric-text rule the text-to-number converters apply.
bool IsNumericText(std::string_view text);

// Appends the text form of a value (ints "%d" and floats "%g" joined by ",", the first KUID
// bracketed, a string as it is). False, appending nothing, when the type has no text form
// or the bytes are too few for one element.
bool AppendValueText(int32_t type, const uint8_t* data, uint32_t size, std::string& out);
void AppendFloatText(float value, std::string& out);  // "%g"

// Number scanning as "%d" and "%f" do it on a leading number; false when none is there.
bool ScanInt32(std::string_view text, int32_t& out);
bool ScanFloat(std::string_view text, float& out);

// The text of a string block (without its NUL).
std::string_view StringOf(const DataRef& bytes);
// A string block for `text` (characters and NUL), none for empty text.
DataRef StringBlock(std::string_view text);

}  // namespace QETLib
