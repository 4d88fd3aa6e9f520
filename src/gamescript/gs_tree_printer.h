// Developer aid: prints a syntax tree as S-expression text, so tests and debugging sessions
// can read and compare tree shapes compactly.
#pragma once
#include <string>

#include "gamescript/gs_node.h"

namespace GSCompiler {

struct GSTreePrintOptions {
  bool lines = false;  // append "@line" to every node
  bool types = false;  // append "#type" to analysed expressions
};

// Prints the node list starting at `first`, one element after the other, separated by blanks.
// Shapes: (class Name (bases ...) members...), (func type name (params ...) body),
// (block s...), (if c then else), operators as (op a b), calls as (call f args...), lists in
// non-list positions as {a b}, an empty child as _. Flags follow the head as :public, :member,
// :d (value discarded).
std::string GSPrintTree(const GSNode* first, const GSTreePrintOptions& options = {});

}  // namespace GSCompiler
