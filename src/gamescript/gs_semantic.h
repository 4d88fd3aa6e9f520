// Semantic analysis of one parsed GameScript unit: enters its classes, functions and
// variables into the symbol table, checks every rule and decorates the tree for code generation.
#pragma once

#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_symbols.h"

namespace GSCompiler {

struct GSSemanticInput {
  GSNode* declarations = nullptr;  // the unit's declaration list (includes, then classes)
  const char* fileName = "";       // unit name used in messages
  bool includeMode = false;        // included unit: declared and checked, undeclared classes not reported
  Utils::BlockMemory* nodes = nullptr;  // the unit's node memory (for implicit casts and returns)
};

// Analyses one unit with `table` (whose current dependency must be the unit's symbol).
// Every message goes to `log` as "%s(%d) : %s"; when errors were found,
// "(%s) %d semantic error(s)" follows. Returns the error count.
//
// Decorations left on the tree:
// - every expression: resultType, className (object / object-array results), GS_FLAG_LVALUE;
// - identifiers and member names: symbol (variable, or class for static references with
//   GS_FLAG_STATIC_REF); class, function, declarator and parameter nodes: their symbol;
// - call nodes: symbol = the chosen GSFunctionSymbol, GS_FLAG_DIRECT_CALL for functions of
//   static/final classes, GS_FLAG_INHERITED_CALL, GS_FLAG_METHOD_CALL when called through '.';
//   arguments needing a conversion are wrapped in cast nodes (GS_FLAG_IMPLICIT_CAST);
// - defines and constant operands are folded into constant nodes in place;
// - void function bodies not ending in a return get one appended (GS_FLAG_IMPLICIT_RETURN);
// - node->slot: variable slot for identifiers/member names/declarators/parameters.
int GSAnalyse(GSSymbolTable& table, const GSSemanticInput& input, GSLog& log);

}  // namespace GSCompiler
