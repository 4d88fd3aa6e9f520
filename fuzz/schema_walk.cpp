// Fuzz target for validation: arbitrary schema text and configuration text walked together,
// and arbitrary catalogue text filled with values. Input: schema bytes, a 0 byte, config bytes
// (without a 0 byte the whole input is the configuration, checked against a fixed schema).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "content/tag_container.h"
#include "search/findings_handler.h"
#include "search/message_catalogue.h"
#include "search/schema.h"
#include "search/schema_container.h"

using namespace QETLib;

namespace {

constexpr const char* kFixedSchema = R"(base
{
  element
  {
    kind { element-type "string" unique 1 }
    quorix-build { element-type "number" }
    table { array-element "entry" }
    light-color { numarray "3" validation { arraysize { size "3" } range { min "0" max "255" } } }
    tagged- { tagarray 1 element-type "integer" }
  }
}
entry
{
  inherit "entry;base"
  element { kind { value "a;b" } att-parent { validation { notownparent mustbeownparent } } }
  subpossibilities { kind { a "base" b { unknown "accept" } } }
}
thing { inherit "base" element { nested { container-type0 "thing" } } }
)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view schema_text = split == std::string_view::npos ? kFixedSchema : input.substr(0, split);
  const std::string_view config_text = split == std::string_view::npos ? input : input.substr(split + 1);

  TagContainer schema_file;
  ReadTextFromString(schema_file, schema_text);
  auto schema = Schema::FromContainers({schema_file});
  TagContainer config;
  ReadTextFromString(config, config_text);
  config.SetString("kind", "thing");
  FindingsHandler findings;
  Container container(schema, findings);
  container.Validate(config);

  FormatMessage(config_text.substr(0, 256), {std::string("text"), 42LL, 2.5});
  return 0;
}
