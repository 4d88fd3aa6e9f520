// Test helper: parses and analyses a GameScript program (with optional included units) and
// returns its log and decorated tree.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "gamescript/gs_semantic.h"
#include "gs_test_support.h"

namespace gstest {

struct Analysed {
  int errors = 0;
  std::string log;   // every logged line, each followed by "\n"
  std::string tree;  // printed with result types
};

// `includes` are analysed first, in include mode, as units 1, 2, ...
inline Analysed Analyse(const std::string& source,
                        const std::vector<std::pair<std::string, std::string>>& includes = {}) {
  GSCompiler::GSStringPool pool;
  GSCompiler::GSSymbolTable table(pool);
  CaptureLog log;
  Analysed out;
  std::vector<std::unique_ptr<Utils::BlockMemory>> memories;
  int index = 1;
  for (const auto& [name, text] : includes) {
    memories.push_back(std::make_unique<Utils::BlockMemory>());
    GSCompiler::GSNode* root = nullptr;
    if (GSCompiler::GSParse(text, name.c_str(), *memories.back(), pool, log, &root) != GSCompiler::GS_PARSE_OK) {
      out.log = log.Joined();
      out.errors = -1;
      return out;
    }
    table.currentDependency = table.InsertDependency(name, 0, 0, index++);
    GSCompiler::GSSemanticInput in{root, pool.Intern(name), true, memories.back().get()};
    GSCompiler::GSAnalyse(table, in, log);
  }
  Utils::BlockMemory nodes;
  GSCompiler::GSNode* root = nullptr;
  if (GSCompiler::GSParse(source, "t.gs", nodes, pool, log, &root) != GSCompiler::GS_PARSE_OK) {
    out.log = log.Joined();
    out.errors = -1;
    return out;
  }
  table.currentDependency = table.InsertDependency("t.gs", 0, 0, 0);
  GSCompiler::GSSemanticInput in{root, "t.gs", false, &nodes};
  out.errors = GSCompiler::GSAnalyse(table, in, log);
  out.log = log.Joined();
  GSCompiler::GSTreePrintOptions options;
  options.types = true;
  out.tree = GSCompiler::GSPrintTree(root, options);
  return out;
}

}  // namespace gstest
