// Fuzz target: arbitrary bytes as a GameScript unit, parsed and, when it parses, analysed;
// the decorated tree must print.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gamescript/gs_parser.h"
#include "gamescript/gs_semantic.h"
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
  if (GSCompiler::GSParse(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.gs", nodes, pool, log,
                          &root) != GSCompiler::GS_PARSE_OK)
    return 0;
  GSCompiler::GSSymbolTable table(pool);
  table.currentDependency = table.InsertDependency("fuzz.gs", 0, 0, 0);
  GSCompiler::GSSemanticInput input{root, "fuzz.gs", false, &nodes};
  GSCompiler::GSAnalyse(table, input, log);
  (void)GSCompiler::GSPrintTree(root);
  return 0;
}
