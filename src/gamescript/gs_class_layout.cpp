// Layout walks. Each direct base's block is placed after the previous one's; the first
// match along that order decides, so a class reached twice uses its first position.
#include "gamescript/gs_class_layout.h"

namespace GSCompiler {

namespace {

constexpr int kMaxDepth = 10000;  // guards the recursion; analysis refuses cycles already

void AddBases(const GSClassSymbol* cls, uint32_t at, bool direct, std::vector<GSCBase>& out, int depth) {
  if (depth > kMaxDepth) return;
  uint32_t offset = at;
  for (const GSClassLink* b = cls->bases; b; b = b->next) {
    out.push_back({static_cast<uint32_t>(b->cls->index), offset, direct, static_cast<uint32_t>(MemberSlotCount(b->cls))});
    AddBases(b->cls, offset, false, out, depth + 1);
    offset += static_cast<uint32_t>(MemberSlotCount(b->cls));
  }
}

// Offset of `target`'s block within `cls` (member slots, or function slots), or -1.
int32_t BlockOffset(const GSClassSymbol* cls, const GSClassSymbol* target, bool functions, int depth) {
  if (cls == target) return 0;
  if (depth > kMaxDepth) return -1;
  int32_t offset = 0;
  for (const GSClassLink* b = cls->bases; b; b = b->next) {
    int32_t inner = BlockOffset(b->cls, target, functions, depth + 1);
    if (inner >= 0) return offset + inner;
    offset += functions ? FunctionSlotCount(b->cls) : MemberSlotCount(b->cls);
  }
  return -1;
}

}  // namespace

int32_t MemberSlotCount(const GSClassSymbol* cls) { return cls->firstMemberSlot + cls->memberCount; }
int32_t FunctionSlotCount(const GSClassSymbol* cls) { return cls->firstFunctionSlot + cls->functionCount; }

std::vector<GSCBase> ResolvedBases(const GSClassSymbol* cls) {
  std::vector<GSCBase> out;
  AddBases(cls, 0, true, out, 0);
  return out;
}

int32_t MemberSlotIn(const GSClassSymbol* cls, const GSVariableSymbol* var) {
  if (!cls || !var || !var->memberOf) return -1;
  int32_t block = BlockOffset(cls, var->memberOf, false, 0);
  return block < 0 ? -1 : block + var->memberOf->firstMemberSlot + var->index;
}

int32_t FunctionSlotIn(const GSClassSymbol* cls, const GSFunctionSymbol* fn) {
  if (!cls || !fn || !fn->memberOf) return -1;
  int32_t block = BlockOffset(cls, fn->memberOf, true, 0);
  return block < 0 ? -1 : block + fn->memberOf->firstFunctionSlot + fn->index;
}

}  // namespace GSCompiler
