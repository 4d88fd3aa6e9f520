// Entry point of the GameScript front end: scans and parses one unit's source text into its
// syntax tree (declaration list: includes first, then classes).
#pragma once
#include <string_view>

#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_string_pool.h"

namespace GSCompiler {

enum GSParseStatus : int { GS_PARSE_OK = 0, GS_PARSE_SYNTAX_ERROR = 1, GS_PARSE_STACK_OVERFLOW = 2 };

// Parses `source` (the whole unit in memory). Nodes come from `nodes`, texts from `pool`.
// A syntax error logs "parse error, line %d" against `fileName`; nesting past the parser's
// 10000-entry stack logs "parser stack overflow, line %d". On success `*declarations` is the
// unit's declaration list.
GSParseStatus GSParse(std::string_view source, const char* fileName, Utils::BlockMemory& nodes,
                      GSStringPool& pool, GSLog& log, GSNode** declarations);

// Scanner alone (tests and benchmarks): returns the token codes of `source`, 0 not included.
// Leaf nodes for identifiers and literals are taken from `nodes`.
void GSScanTokens(std::string_view source, Utils::BlockMemory& nodes, GSStringPool& pool,
                  void (*onToken)(void* user, int token, int line), void* user);

}  // namespace GSCompiler
