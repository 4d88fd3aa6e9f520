// The GameScript syntax tree: one uniform node shape for declarations, statements and
// expressions, built by the parser and decorated in place by the semantic pass.
#pragma once
#include <cstdint>

#include "gamescript/gs_block_memory.h"

namespace GSCompiler {

class GSSymbol;

enum GSCategory : int32_t { GS_CAT_DECLARATION = 0, GS_CAT_STATEMENT = 1, GS_CAT_EXPRESSION = 2 };

// Declaration kinds (category 0).
enum GSDeclKind : int32_t {
  GS_DECL_FUNCTION = 0,   // child 0 return type, 1 name, 2 parameter list, 3 body
  GS_DECL_PROTOTYPE = 1,  // child 0 return type, 1 name, 2 parameter list
  GS_DECL_INCLUDE = 2,    // child 0 file name node
  GS_DECL_CLASS = 3,      // child 0 name, 1 base-class list, 2 member declarations
  GS_DECL_VARIABLES = 4,  // child 0 type, 1 declarator list
  GS_DECL_DECLARATOR = 5, // child 0 name, 1 initial value
  GS_DECL_TYPE = 6,       // subkind = type code; child 0 class name (object types)
  GS_DECL_PARAMETER = 7,  // child 0 type, 1 name
  GS_DECL_NAME = 8,       // value = the name text
};

// Statement kinds (category 1). Labels (default, case, label, on) carry their labelled
// statement as their next node, not as a child.
enum GSStmtKind : int32_t {
  GS_STMT_RETURN = 0,    // child 0 value or none
  GS_STMT_BREAK = 1,
  GS_STMT_CONTINUE = 2,
  GS_STMT_GOTO = 3,      // child 0 label name
  GS_STMT_FOR = 4,       // child 0 initial expression, 1 condition, 2 body, 3 step
  GS_STMT_WHILE = 5,     // child 0 condition, 1 body
  GS_STMT_SWITCH = 6,    // child 0 expression, 1 compound body; subkind 255
  GS_STMT_IF = 7,        // child 0 condition, 1 then, 2 else or none
  GS_STMT_DEFAULT = 8,
  GS_STMT_CASE = 9,      // child 0 constant expression
  GS_STMT_LABEL = 10,    // child 0 label name
  GS_STMT_COMPOUND = 11, // child 0 statement list or none
  GS_STMT_WAIT = 12,     // child 0 compound body
  GS_STMT_ON = 13,       // child 0 major constant, 1 minor constant, 2 message variable or none
};

// Expression kinds (category 2).
enum GSExprKind : int32_t {
  GS_EXPR_OPERATOR = 0,  // subkind = operator code
  GS_EXPR_CONSTANT = 1,  // subkind = constant type, value = the constant
  GS_EXPR_IDENTIFIER = 2,// value = name
  GS_EXPR_CALL = 3,      // child 0 called expression, 1 argument list
  GS_EXPR_MEMBER = 4,    // the identifier after '.', value = name
  GS_EXPR_ME = 5,
  GS_EXPR_NULL = 6,
};

// Operator codes (subkind of operator nodes). child 0 is the left or only operand, child 1
// the right operand unless noted.
enum GSOperator : int32_t {
  GS_OP_POST_DEC = 0, GS_OP_POST_INC = 1,
  GS_OP_MEMBER = 2,      // child 1 member name node
  GS_OP_PLUS = 3, GS_OP_NEGATE = 4, GS_OP_NOT = 5, GS_OP_COMPLEMENT = 6,
  GS_OP_PRE_DEC = 7, GS_OP_PRE_INC = 8,
  GS_OP_RANGE = 9,       // child 1 lower bound or none, child 2 upper bound or none
  GS_OP_INDEX = 10,      // child 1 index
  GS_OP_CAST = 11,       // child 0 operand, child 1 target type node
  GS_OP_MUL = 12, GS_OP_DIV = 13, GS_OP_MOD = 14, GS_OP_ADD = 15, GS_OP_SUB = 16,
  GS_OP_SHL = 17, GS_OP_SHR = 18,
  GS_OP_LT = 19, GS_OP_GT = 20, GS_OP_LE = 21, GS_OP_GE = 22, GS_OP_EQ = 23, GS_OP_NE = 24,
  GS_OP_BIT_AND = 25, GS_OP_BIT_XOR = 26, GS_OP_BIT_OR = 27,
  GS_OP_AND = 28, GS_OP_OR = 29,
  GS_OP_ASSIGN = 30,
  GS_OP_SIZE = 31,
  GS_OP_ISCLASS = 32,    // child 1 class name node
  GS_OP_COPY = 33,       // child 1 source
  GS_OP_NEW = 34,        // child 0 type node, 1 element count (arrays), 2 argument list
  GS_OP_COUNT = 35,
};

// Type codes. An array type is its element type + 6.
enum GSType : int32_t {
  GS_TYPE_VOID = 0, GS_TYPE_BOOL = 1, GS_TYPE_INT = 2, GS_TYPE_FLOAT = 3, GS_TYPE_STRING = 4,
  GS_TYPE_OBJECT = 5,
  GS_TYPE_VOID_ARRAY = 6, GS_TYPE_BOOL_ARRAY = 7, GS_TYPE_INT_ARRAY = 8, GS_TYPE_FLOAT_ARRAY = 9,
  GS_TYPE_STRING_ARRAY = 10, GS_TYPE_OBJECT_ARRAY = 11,
  GS_TYPE_NONE = 12,  // no type; also the result of every failed check
  GS_TYPE_NULL = 13,
  GS_TYPE_ARRAY_OFFSET = 6,
};

// Constant types (subkind of constant nodes).
enum GSConstType : int32_t { GS_CONST_BOOL = 0, GS_CONST_INT = 1, GS_CONST_FLOAT = 2, GS_CONST_STRING = 3 };

// Flag bits. The low byte holds the declaration specifiers (same bits in symbols).
enum : uint32_t {
  GS_SPEC_PUBLIC = 0x1,
  GS_SPEC_NATIVE = 0x2,
  GS_SPEC_STATIC = 0x4,
  GS_SPEC_FINAL = 0x8,
  GS_SPEC_THREAD = 0x10,
  GS_SPEC_CONSTRUCTOR = 0x20,  // no keyword; never set by the parser
  GS_SPEC_GAME = 0x40,
  GS_SPEC_DEFINE = 0x80,
  GS_SPEC_MASK = 0xFF,

  // Decorations set by the semantic pass (bits the parser never uses).
  GS_FLAG_LVALUE = 0x100,           // expression denotes a storage location
  GS_FLAG_STATIC_REF = 0x200,       // a class name used as the static instance of that class
  GS_FLAG_DIRECT_CALL = 0x400,      // call node: non-virtual dispatch (static or final class)
  GS_FLAG_INHERITED_CALL = 0x800,   // call node: 'inherited' call of the overridden function
  GS_FLAG_IMPLICIT_CAST = 0x1000,   // cast node inserted for an argument conversion
  GS_FLAG_RUNTIME_CAST = 0x2000,    // cast node whose type or class differs from its operand
  GS_FLAG_IMPLICIT_RETURN = 0x4000, // return statement appended to a void function body
  GS_FLAG_METHOD_CALL = 0x8000,     // call node: called through an object ('.' on the left)

  // Tree flags set by the parser.
  GS_FLAG_MEMBER_VARIABLE = 0x4000000,  // variable declaration list at class level
  GS_FLAG_FUNCTION_BODY = 0x8000000,    // compound statement of a function declaration
  GS_FLAG_DISCARDED = 0x10000000,       // expression whose value is not used
};

union GSValue {
  const char* text;  // names and string constants (pooled); nullptr when empty
  int32_t i;         // int and bool constants
  float f;           // float constants
};

struct GSNode {
  GSNode* child[4];
  GSNode* next;     // following node in a list (source order)
  GSNode* parent;   // filled by the semantic pass
  int32_t category; // GSCategory
  GSValue value;
  int32_t kind;     // GSDeclKind / GSStmtKind / GSExprKind
  int32_t subkind;  // operator code, type code, constant type, or -1
  int32_t line;     // the scanner's line when the node was built
  uint32_t flags;
  int32_t resultType;  // GSType; GS_TYPE_NONE until analysed

  // Decorations (zero until the semantic pass sets them; code generation may use `code`).
  const char* className;  // class name of an object / object-array result, else nullptr
  GSSymbol* symbol;       // variable, function, class or dependency the node refers to
  int32_t slot;           // slot of the referenced variable / function where one applies
  void* code;             // free for code generation

  bool IsDeclaration(int32_t k) const { return category == GS_CAT_DECLARATION && kind == k; }
  bool IsStatement(int32_t k) const { return category == GS_CAT_STATEMENT && kind == k; }
  bool IsExpression(int32_t k) const { return category == GS_CAT_EXPRESSION && kind == k; }
  bool IsOperator(int32_t op) const {
    return category == GS_CAT_EXPRESSION && kind == GS_EXPR_OPERATOR && subkind == op;
  }
  bool IsConstant() const { return category == GS_CAT_EXPRESSION && kind == GS_EXPR_CONSTANT; }
};

// Takes a zeroed node from `memory`: no children, subkind -1, result type "no type".
inline GSNode* NewNode(Utils::BlockMemory& memory, int32_t category, int32_t kind, int32_t line) {
  GSNode* node = memory.New<GSNode>();
  node->category = category;
  node->kind = kind;
  node->subkind = -1;
  node->line = line;
  node->resultType = GS_TYPE_NONE;
  return node;
}

// Number of nodes in the list starting at `first`.
inline int ListLength(const GSNode* first) {
  int n = 0;
  for (; first; first = first->next) ++n;
  return n;
}

// Name of a type code as shown in messages and signatures ("int", "object[]", ...);
// "" for no type and "illegal type" for anything out of range.
const char* GSTypeName(int32_t type);
// Operator text as used in messages ("+", "++", "[]", ".size", ...).
const char* GSOperatorName(int32_t op);

}  // namespace GSCompiler
