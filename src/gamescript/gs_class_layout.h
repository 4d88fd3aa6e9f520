// Where things sit in an object: a class's own members and functions follow those of its
// bases, each base's block placed at an offset; these helpers compute those positions.
#pragma once
#include <cstdint>
#include <vector>

#include "gamescript/gs_compiled.h"
#include "gamescript/gs_symbols.h"

namespace GSCompiler {

// Member slots of `cls`, inherited ones included.
int32_t MemberSlotCount(const GSClassSymbol* cls);
// Function slots of `cls`, inherited ones included.
int32_t FunctionSlotCount(const GSClassSymbol* cls);

// The resolved base list: direct bases in `isclass` order, each followed by its own bases;
// offsets in member slots.
std::vector<GSCBase> ResolvedBases(const GSClassSymbol* cls);

// Member slot of `var` (declared in `cls` or one of its bases) in an object of class `cls`;
// -1 when `var` is no member of that class.
int32_t MemberSlotIn(const GSClassSymbol* cls, const GSVariableSymbol* var);
// Dispatch slot of `fn` in the function layout of `cls`; -1 when not found.
int32_t FunctionSlotIn(const GSClassSymbol* cls, const GSFunctionSymbol* fn);

}  // namespace GSCompiler
