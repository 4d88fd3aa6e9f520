// Instruction emission: every instruction records its offset in the line table when the
// source line changed, and moves the tracked expression-stack depth by its stack effect.
#include <cstring>

#include "gamescript/gs_codegen.h"
#include "gamescript/gs_opcodes.h"

namespace GSCompiler {

bool IsReferenceType(int32_t type) {
  return type == GS_TYPE_STRING || type == GS_TYPE_OBJECT || (type >= GS_TYPE_VOID_ARRAY && type <= GS_TYPE_OBJECT_ARRAY) ||
         type == GS_TYPE_NULL;
}

GSFunctionCompiler::GSFunctionCompiler(GSCFunction& out, GSClassSymbol* cls, GSSymbolTable& table,
                                       GSStringTable& strings, GSLog& log, const char* fileName)
    : out_(out), cls_(cls), table_(table), strings_(strings), log_(log), fileName_(fileName ? fileName : "") {}

bool GSFunctionCompiler::Fail(const char* text) {
  if (!failed_) log_.Message(text);
  failed_ = true;
  return false;
}

void GSFunctionCompiler::Depth(int delta) {
  out_.depth += delta;
  if (out_.depth > out_.max_depth) out_.max_depth = out_.depth;
}

void GSFunctionCompiler::Mark(uint8_t op) {
  if (line_ > 0 && (out_.lines.empty() || out_.lines.back().line != static_cast<uint32_t>(line_))) {
    out_.lines.push_back({static_cast<uint32_t>(Here()), static_cast<uint32_t>(line_)});
  }
  Depth(OpcodeInfo(op).stack);
}

void GSFunctionCompiler::PutI16(int32_t v) {
  out_.code.push_back(static_cast<uint8_t>(v & 0xFF));
  out_.code.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void GSFunctionCompiler::PutI32(int32_t v) {
  for (int i = 0; i < 4; ++i) out_.code.push_back(static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

void GSFunctionCompiler::Op(uint8_t op) {
  Mark(op);
  out_.code.push_back(op);
}

void GSFunctionCompiler::OpI16(uint8_t op, int32_t v) {
  if (v < -32768 || v > 32767) Fail("Compiler error GEOUM");
  Op(op);
  PutI16(v);
}

void GSFunctionCompiler::OpI16x2(uint8_t op, int32_t a, int32_t b) {
  if (a < -32768 || a > 32767 || b < -32768 || b > 32767) Fail("Compiler error GEOUM");
  Op(op);
  PutI16(a);
  PutI16(b);
}

void GSFunctionCompiler::OpI32(uint8_t op, int32_t v) {
  Op(op);
  PutI32(v);
}

size_t GSFunctionCompiler::Jump(uint8_t op) {
  Op(op);
  size_t at = Here();
  PutI32(-1);
  return at;
}

void GSFunctionCompiler::PatchI32(size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) out_.code[at + i] = static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

void GSFunctionCompiler::PushInt(int32_t v) {
  if (v == 0) Op(OP_PUSH_0);
  else if (v == 1) Op(OP_PUSH_1);
  else OpI32(OP_PUSH_32, v);
}

void GSFunctionCompiler::PushFloat(float v) {
  int32_t bits;
  std::memcpy(&bits, &v, 4);
  OpI32(OP_PUSH_32, bits);
}

void GSFunctionCompiler::PushString(const char* text) {
  uint32_t id = strings_.Intern(text ? text : "");
  if (id > 32767) {
    Fail("Compiler error GEOUM");
    return;
  }
  OpI16(OP_PUSH_STRING, static_cast<int32_t>(id));
}

}  // namespace GSCompiler
