// Shared helpers for the GameScript front-end tests: a log that keeps its lines, and a
// one-call parse of a source text into printed tree form.
#pragma once
#include <string>
#include <vector>

#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_parser.h"
#include "gamescript/gs_tree_printer.h"

namespace gstest {

class CaptureLog : public GSCompiler::GSLog {
 public:
  void Error(const char* file, int line, const char* text) override {
    lines.push_back(std::string(file) + "(" + std::to_string(line) + ") : " + text);
  }
  void Message(const char* text) override { lines.push_back(text); }
  std::string Joined() const {
    std::string all;
    for (const auto& l : lines) all += l + "\n";
    return all;
  }
  std::vector<std::string> lines;
};

struct Parsed {
  GSCompiler::GSParseStatus status;
  std::string tree;
  std::string log;
};

inline Parsed Parse(const std::string& source, GSCompiler::GSTreePrintOptions options = {}) {
  Utils::BlockMemory nodes;
  GSCompiler::GSStringPool pool;
  CaptureLog log;
  GSCompiler::GSNode* root = nullptr;
  auto status = GSCompiler::GSParse(source, "t.gs", nodes, pool, log, &root);
  return Parsed{status, GSCompiler::GSPrintTree(root, options), log.Joined()};
}

// Parses `body` as the statements of a function f in class C and returns the printed body.
inline std::string Body(const std::string& body) {
  Parsed p = Parse("class C { void f() { " + body + " } };");
  if (p.status != GSCompiler::GS_PARSE_OK) return "ERROR: " + p.log;
  const std::string prefix = "(class C (func void f (params) (block";
  std::string t = p.tree;
  if (t.rfind(prefix, 0) != 0) return "UNEXPECTED: " + t;
  t = t.substr(prefix.size(), t.size() - prefix.size() - 3);
  if (!t.empty() && t[0] == ' ') t.erase(0, 1);
  return t;
}

}  // namespace gstest
