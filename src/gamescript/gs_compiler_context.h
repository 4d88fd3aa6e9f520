// The state of one compilation: string pool, symbol table, the node memories of the units,
// the library's string table and the compiled classes. Reset before each compiled file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamescript/gs_block_memory.h"
#include "gamescript/gs_compiled.h"
#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_string_pool.h"
#include "gamescript/gs_string_table.h"
#include "gamescript/gs_symbols.h"

namespace GSCompiler {

// One source unit: the main file or an included one.
struct GSUnit {
  const char* fileName = nullptr;  // lower-cased bare name, pooled
  uint32_t sourceCrc = 0;
  uint32_t fileNameCrc = 0;
  int errors = 0;
  int warnings = 0;
  GSNode* declarations = nullptr;  // includes, then classes
  std::unique_ptr<Utils::BlockMemory> nodes;  // the unit's own node memory
};

class GSCompilerContext {
 public:
  GSCompilerContext() : symbols(pool) {}
  GSCompilerContext(const GSCompilerContext&) = delete;
  GSCompilerContext& operator=(const GSCompilerContext&) = delete;

  // Empty symbol table and string table, no units, no classes.
  void Reset(GSLog* new_log) {
    symbols.Reset();
    strings.Clear();
    units.clear();
    classes.clear();
    dependencyCount = 0;
    classCount = 0;
    functionCount = 0;
    log = new_log;
  }

  GSStringPool pool;
  GSSymbolTable symbols;
  GSStringTable strings;
  std::vector<std::unique_ptr<GSUnit>> units;  // in registration order; [0] is the main unit
  std::vector<GSCClass> classes;               // generated classes of the main unit
  int32_t dependencyCount = 0;
  int32_t classCount = 0;
  int32_t functionCount = 0;
  GSLog* log = nullptr;
};

}  // namespace GSCompiler
