// The semantic analyser's internal state and stages (classes, statements, expressions, calls,
// type tables); shared by the gs_semantic*.cpp files only.
#pragma once
#include <cstdarg>
#include <string>
#include <vector>

#include "gamescript/gs_semantic.h"

namespace GSCompiler {

// Operand tables and the assignment/conversion table.
int32_t GSUnaryResult(int32_t op, int32_t operand);
int32_t GSBinaryResult(int32_t op, int32_t left, int32_t right);
bool GSConversionAllowed(int32_t target, int32_t source);
bool GSIsArray(int32_t type);
bool GSIsReference(int32_t type);  // string, object, arrays, null
// Folds a constant operator node in place; false if the operands cannot be folded.
bool GSFoldConstant(GSNode* node, GSStringPool& pool);
// Turns `node` into a constant of `type` (bool, int, float or string) holding `value`.
void GSMakeConstant(GSNode* node, int32_t type, GSValue value);

enum GSExprContext : int {
  GS_CTX_NONE = 0,
  GS_CTX_LEFT_OF_DOT = 1,  // class names are allowed here without being static
  GS_CTX_CALLEE = 2,       // an undeclared identifier is left for call resolution
};

// Result of a conversion check.
enum GSConversion : int { GS_CONV_FAIL = -1, GS_CONV_EXACT = 0, GS_CONV_CONVERT = 1 };

class GSAnalyser {
 public:
  GSAnalyser(GSSymbolTable& table, const GSSemanticInput& input, GSLog& log);
  int Run();

  // --- reporting (gs_semantic.cpp)
  void Error(int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void ErrorIn(const char* file, int line, const char* format, ...) __attribute__((format(printf, 4, 5)));
  void ErrorV(const char* file, int line, const char* format, va_list args);
  void InternalError();  // a state valid trees never reach
  bool EnterNode();  // false once nesting is too deep (the unit then fails)
  void LeaveNode() { --depth_; }

  // --- classes and members (gs_semantic.cpp)
  void DeclareClass(GSNode* decl);
  void ResolveBases(GSClassSymbol* cls);
  void DeclareMembers(GSClassSymbol* cls);
  void DeclareOwnMembers(GSClassSymbol* cls);
  void DeclareFunction(GSClassSymbol* cls, GSNode* decl);
  void DeclareMemberVariables(GSClassSymbol* cls, GSNode* decl, bool defines);
  void AnalyseClassBodies(GSClassSymbol* cls);
  void AnalyseFunctionBody(GSNode* decl);
  GSClassSymbol* FindClass(const char* name) const;
  const char* ClassNameOf(const GSNode* typeNode) const;
  GSVariableSymbol* FindMemberVariable(GSClassSymbol* cls, const char* name) const;
  bool CheckTypeDeclared(const GSNode* typeNode);

  // --- statements (gs_semantic_stmt.cpp)
  void StatementList(GSNode* first, GSNode* parent);
  void Statement(GSNode* n, GSNode* parent);
  void LocalVariables(GSNode* decl);
  void Condition(GSNode* expr, GSNode* parent, const char* message, int line);

  // --- expressions (gs_semantic_expr.cpp)
  void Expr(GSNode* n, GSNode* parent, int context = GS_CTX_NONE);
  void ExprList(GSNode* first, GSNode* parent);
  void Identifier(GSNode* n, int context);
  void Operator(GSNode* n);
  void MemberAccess(GSNode* n, int context);
  void Cast(GSNode* n);
  void New(GSNode* n);
  void Assign(GSNode* n);
  bool CheckObjectOperand(GSNode* left, int line);  // '.' left operand rules
  void UseVariable(GSNode* n, GSVariableSymbol* var);
  int Convert(int32_t targetType, const char* targetClass, const GSNode* source, int line, bool report);
  std::string Display(const GSNode* n) const { return GSTypeText(n->resultType, n->className); }
  void SetType(GSNode* n, int32_t type, const char* className);
  void Fail(GSNode* n) { SetType(n, GS_TYPE_NONE, nullptr); }
  const char* Canonical(const char* className) const;

  // --- calls (gs_semantic_call.cpp)
  void Call(GSNode* n);
  void InheritedCall(GSNode* n, bool onObject);
  bool ConvertArguments(GSNode* call, GSFunctionSymbol* fn, bool report);
  GSNode* NewTypeNode(int32_t type, const char* className, int line);

  struct Frame {
    int32_t kind;           // GS_STMT_FOR, _WHILE, _SWITCH or _WAIT
    int32_t cases = 0;
    int32_t defaults = 0;
    int32_t ons = 0;
  };

  GSSymbolTable& table_;
  GSStringPool& pool_;
  GSSemanticInput input_;
  GSLog& log_;
  int errors_ = 0;
  int depth_ = 0;
  bool aborted_ = false;
  std::vector<Frame> frames_;
  std::vector<GSClassSymbol*> unitClasses_;
  const char* inherited_;
  const char* objectName_;
};

}  // namespace GSCompiler
