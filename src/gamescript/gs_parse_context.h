// State shared by the generated scanner and parser of one unit: node memory, string pool,
// the scanner handle and the pieces of the tree under construction.
#pragma once
#include <cstdint>

#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_string_pool.h"

namespace GSCompiler {

// A next-linked node chain under construction: first node and last node (both null if empty).
struct GSChain {
  GSNode* head;
  GSNode* tail;
};

struct GSParseContext {
  void* scanner = nullptr;  // the reentrant scanner (yyscan_t)
  Utils::BlockMemory* nodes = nullptr;
  GSStringPool* pool = nullptr;
  GSLog* log = nullptr;
  const char* fileName = "";
  GSNode* declarations = nullptr;  // includes first, then classes
  bool afterInclude = false;       // the last token was 'include'

  int line = 1;                    // the scanner's line when it returned its last token
  int Line() const { return line; }
  int ScannerLine() const;
  GSNode* Node(int32_t category, int32_t kind) { return NewNode(*nodes, category, kind, Line()); }
};

// Literal conversions of the scanner's token texts.
int32_t GSDecimalValue(const char* text, size_t length);
int32_t GSHexValue(const char* text, size_t length);  // text starts with 0x / 0X
float GSFloatValue(const char* text, size_t length);
// Unescapes a string or character literal token (optional L, quotes) into `out` (room for
// 2049 bytes); returns the length up to the first NUL.
size_t GSUnescape(const char* text, size_t length, char* out);
// Include file name: quotes (and a leading L) removed, no escape processing, lower-cased.
const char* GSIncludeName(GSStringPool& pool, const char* text, size_t length);

}  // namespace GSCompiler
