// Fuzz target: arbitrary bytes as a GameScript unit, scanned and parsed; the tree must print.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gamescript/gs_parser.h"
#include "gamescript/gs_tree_printer.h"

namespace {

class NullLog : public GSCompiler::GSLog {
 public:
  void Error(const char*, int, const char*) override {}
  void Message(const char*) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Utils::BlockMemory nodes;
  GSCompiler::GSStringPool pool;
  NullLog log;
  GSCompiler::GSNode* root = nullptr;
  auto status = GSCompiler::GSParse(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.gs",
                                    nodes, pool, log, &root);
  if (status == GSCompiler::GS_PARSE_OK) {
    if (!root) __builtin_trap();
    (void)GSCompiler::GSPrintTree(root);
  }
  return 0;
}
