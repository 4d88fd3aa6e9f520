// Byte code for one function body (or a class's member initialiser) from the analysed tree:
// expressions and statements become stack-machine instructions in a GSCFunction.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gamescript/gs_compiled.h"
#include "gamescript/gs_diagnostics.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_string_table.h"
#include "gamescript/gs_symbols.h"

namespace GSCompiler {

class GSFunctionCompiler {
 public:
  GSFunctionCompiler(GSCFunction& out, GSClassSymbol* cls, GSSymbolTable& table, GSStringTable& strings, GSLog& log,
                     const char* fileName);

  // Compiles a function body (the compound statement). False after a logged failure.
  bool CompileBody(GSNode* body);
  // Compiles the member initialiser: every initialised member of `cls`, then a return.
  bool CompileInitialiser();

 private:
  // --- emission (gs_codegen_emit.cpp) ---
  size_t Here() const { return out_.code.size(); }
  void Mark(uint8_t op);  // line entry and stack effect of an instruction about to be written
  void Op(uint8_t op);
  void OpI16(uint8_t op, int32_t v);
  void OpI16x2(uint8_t op, int32_t a, int32_t b);
  void OpI32(uint8_t op, int32_t v);
  size_t Jump(uint8_t op);  // emits a jump with a target to patch; returns where the target sits
  void PatchI32(size_t at, int32_t v);
  void PutI16(int32_t v);
  void PutI32(int32_t v);
  void Depth(int delta);
  void PushInt(int32_t v);
  void PushFloat(float v);
  void PushString(const char* text);
  bool Fail(const char* text);

  // --- expressions (gs_codegen_expr.cpp) ---
  void Expr(GSNode* n, bool want);
  void Value(GSNode* n) { Expr(n, true); }
  void Convert(int32_t from, int32_t to);
  void ToBool(int32_t type);
  void Operator(GSNode* n, bool want);
  void Binary(GSNode* n);
  void Compare(GSNode* n);
  void Logical(GSNode* n);
  void Unary(GSNode* n);
  void Step(GSNode* n, bool want);
  // Stores the value made by `value` into `target`. With `compound`, the target's current
  // value is loaded first (for ++ and --), reusing the object and index already pushed.
  // A string is stored as a copy unless `value` made one already (`copied`).
  void Assign(GSNode* target, const std::function<void()>& value, bool want, bool compound = false,
              bool copied = false);
  void Call(GSNode* n, bool want);
  void New(GSNode* n);
  void Cast(GSNode* n);
  void Load(GSNode* n);
  int32_t ClassNumber(const char* className) const;
  GSClassSymbol* ClassOf(const GSNode* objectExpr) const;
  void Discard(int32_t type);

  // --- statements (gs_codegen_stmt.cpp) ---
  void Statement(GSNode* n);
  int32_t ValueList(GSNode* first);  // comma list: all but the last discarded; the last's type
  void DiscardList(GSNode* first);
  void Statements(GSNode* first);
  void Locals(GSNode* decl);
  void If(GSNode* n);
  void While(GSNode* n);
  void For(GSNode* n);
  void Switch(GSNode* n);
  void Wait(GSNode* n);
  void Return(GSNode* n);
  void Branch(int kind, int line);  // break / continue
  // Labels of kind `kind` (case / on) reachable in a body without entering `skip` statements.
  void CollectLabels(GSNode* first, int32_t kind, int32_t skip, std::vector<GSNode*>& found, GSNode** def);
  bool ResolveGotos();

  struct Fixup {
    size_t at;          // where the i32 target sits
    std::string label;  // "Break", "Continue" or the label name
    int line;
  };
  // One enclosing loop, switch or wait: where continue goes and the breaks to patch.
  struct Target {
    bool loop;       // continue allowed
    size_t continueAt;
    bool continueKnown;
    std::vector<size_t> breaks;
    std::vector<size_t> continues;
  };

  GSCFunction& out_;
  GSClassSymbol* cls_;
  GSSymbolTable& table_;
  GSStringTable& strings_;
  GSLog& log_;
  const char* fileName_;
  GSFunctionSymbol* fn_ = nullptr;
  int line_ = 0;
  bool failed_ = false;
  std::vector<Target> targets_;
  std::map<std::string, size_t> labels_;
  std::vector<Fixup> gotos_;
  // Per switch being compiled: case node -> code offset, and the default's offset.
  std::map<const GSNode*, size_t> labelOffsets_;  // case, default and on labels
};

bool IsReferenceType(int32_t type);

}  // namespace GSCompiler
