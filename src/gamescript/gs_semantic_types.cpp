// Operator type tables, the assignment/conversion table and constant folding.
#include <cmath>
#include <cstring>
#include <string>

#include "gamescript/gs_semantic_internal.h"

namespace GSCompiler {

bool GSIsArray(int32_t type) { return type >= GS_TYPE_VOID_ARRAY && type <= GS_TYPE_OBJECT_ARRAY; }

bool GSIsReference(int32_t type) {
  return type == GS_TYPE_STRING || type == GS_TYPE_OBJECT || GSIsArray(type) || type == GS_TYPE_NULL;
}

namespace {

bool IsNumeric(int32_t t) { return t == GS_TYPE_INT || t == GS_TYPE_FLOAT; }
bool IsValue(int32_t t) { return t == GS_TYPE_BOOL || t == GS_TYPE_INT || t == GS_TYPE_FLOAT; }
// Types that may stand as a truth value (`!`, `and`, `or`).
bool IsTestable(int32_t t) {
  return IsValue(t) || t == GS_TYPE_STRING || t == GS_TYPE_OBJECT || (GSIsArray(t) && t != GS_TYPE_VOID_ARRAY);
}

bool Comparable(int32_t l, int32_t r) {
  if ((IsValue(l) || l == GS_TYPE_STRING) && (IsValue(r) || r == GS_TYPE_STRING)) return true;
  if (l == GS_TYPE_NULL) return r == GS_TYPE_STRING || r == GS_TYPE_OBJECT || GSIsArray(r) || r == GS_TYPE_NULL;
  if (r == GS_TYPE_NULL) return l == GS_TYPE_STRING || l == GS_TYPE_OBJECT || GSIsArray(l);
  if (l == GS_TYPE_OBJECT) return r == GS_TYPE_OBJECT;
  if (GSIsArray(l)) return r == l;
  return false;
}

}  // namespace

int32_t GSUnaryResult(int32_t op, int32_t t) {
  switch (op) {
    case GS_OP_POST_DEC: case GS_OP_POST_INC: case GS_OP_PRE_DEC: case GS_OP_PRE_INC:
    case GS_OP_PLUS: case GS_OP_NEGATE:
      return IsNumeric(t) ? t : GS_TYPE_NONE;
    case GS_OP_NOT: return IsTestable(t) ? GS_TYPE_BOOL : GS_TYPE_NONE;
    case GS_OP_COMPLEMENT: return t == GS_TYPE_INT ? GS_TYPE_INT : GS_TYPE_NONE;
    default: return GS_TYPE_NONE;
  }
}

int32_t GSBinaryResult(int32_t op, int32_t l, int32_t r) {
  switch (op) {
    case GS_OP_ADD:
      if ((l == GS_TYPE_STRING && (IsValue(r) || r == GS_TYPE_STRING)) || (IsValue(l) && r == GS_TYPE_STRING))
        return GS_TYPE_STRING;
      [[fallthrough]];
    case GS_OP_MUL: case GS_OP_DIV: case GS_OP_MOD: case GS_OP_SUB:
      if (!IsNumeric(l) || !IsNumeric(r)) return GS_TYPE_NONE;
      return l == GS_TYPE_INT && r == GS_TYPE_INT ? GS_TYPE_INT : GS_TYPE_FLOAT;
    case GS_OP_SHL: case GS_OP_SHR: case GS_OP_BIT_AND: case GS_OP_BIT_XOR: case GS_OP_BIT_OR:
      return l == GS_TYPE_INT && r == GS_TYPE_INT ? GS_TYPE_INT : GS_TYPE_NONE;
    case GS_OP_LT: case GS_OP_GT: case GS_OP_LE: case GS_OP_GE: case GS_OP_EQ: case GS_OP_NE:
      return Comparable(l, r) ? GS_TYPE_BOOL : GS_TYPE_NONE;
    case GS_OP_AND: case GS_OP_OR:
      return IsTestable(l) && IsTestable(r) ? GS_TYPE_BOOL : GS_TYPE_NONE;
    default: return GS_TYPE_NONE;
  }
}

bool GSConversionAllowed(int32_t target, int32_t source) {
  switch (target) {
    case GS_TYPE_BOOL: case GS_TYPE_INT: case GS_TYPE_FLOAT: return IsValue(source);
    case GS_TYPE_STRING: return IsValue(source) || source == GS_TYPE_STRING || source == GS_TYPE_NULL;
    case GS_TYPE_OBJECT: return source == GS_TYPE_OBJECT || source == GS_TYPE_NULL;
    case GS_TYPE_BOOL_ARRAY: case GS_TYPE_INT_ARRAY: case GS_TYPE_FLOAT_ARRAY: case GS_TYPE_STRING_ARRAY:
    case GS_TYPE_OBJECT_ARRAY:
      return source == target || source == GS_TYPE_NULL;
    case GS_TYPE_NULL: return source == GS_TYPE_STRING || source == GS_TYPE_OBJECT || GSIsArray(source);
    default: return false;
  }
}

void GSMakeConstant(GSNode* node, int32_t type, GSValue value) {
  node->kind = GS_EXPR_CONSTANT;
  node->category = GS_CAT_EXPRESSION;
  node->subkind = type == GS_TYPE_BOOL    ? GS_CONST_BOOL
                  : type == GS_TYPE_INT   ? GS_CONST_INT
                  : type == GS_TYPE_FLOAT ? GS_CONST_FLOAT
                                          : GS_CONST_STRING;
  node->value = value;
  for (auto& c : node->child) c = nullptr;
  node->resultType = type;
  node->className = nullptr;
  node->symbol = nullptr;
  node->flags &= ~(GS_FLAG_LVALUE | GS_FLAG_STATIC_REF);
}

namespace {

int32_t ConstantType(const GSNode* n) {
  switch (n->subkind) {
    case GS_CONST_BOOL: return GS_TYPE_BOOL;
    case GS_CONST_INT: return GS_TYPE_INT;
    case GS_CONST_FLOAT: return GS_TYPE_FLOAT;
    default: return GS_TYPE_STRING;
  }
}

float AsFloat(const GSNode* n) { return n->subkind == GS_CONST_FLOAT ? n->value.f : static_cast<float>(n->value.i); }

// Integer arithmetic wraps like the 32-bit machine it runs on.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

bool FoldUnary(GSNode* n) {
  const GSNode* a = n->child[0];
  int32_t t = ConstantType(a);
  GSValue v{};
  switch (n->subkind) {
    case GS_OP_PLUS: v = a->value; break;
    case GS_OP_NEGATE:
      if (t == GS_TYPE_FLOAT) v.f = -a->value.f;
      else v.i = Wrap(-static_cast<int64_t>(a->value.i));
      break;
    case GS_OP_COMPLEMENT: v.i = ~a->value.i; break;
    case GS_OP_NOT:
      if (t == GS_TYPE_STRING) return false;  // truth of a string is decided at run time
      v.i = t == GS_TYPE_FLOAT ? a->value.f == 0.0f : a->value.i == 0;
      break;
    default: return false;
  }
  GSMakeConstant(n, n->resultType, v);
  return true;
}

bool FoldCompare(GSNode* n, const GSNode* a, const GSNode* b, GSValue& v) {
  int32_t ta = ConstantType(a), tb = ConstantType(b);
  int order;
  if (ta == GS_TYPE_STRING || tb == GS_TYPE_STRING) {
    if (ta != tb) return false;  // mixed string comparisons convert at run time
    order = std::strcmp(a->value.text ? a->value.text : "", b->value.text ? b->value.text : "");
  } else if (ta == GS_TYPE_FLOAT || tb == GS_TYPE_FLOAT) {
    float x = AsFloat(a), y = AsFloat(b);
    order = x < y ? -1 : x > y ? 1 : 0;
    if (std::isnan(x) || std::isnan(y)) return false;
  } else {
    order = a->value.i < b->value.i ? -1 : a->value.i > b->value.i ? 1 : 0;
  }
  switch (n->subkind) {
    case GS_OP_LT: v.i = order < 0; break;
    case GS_OP_GT: v.i = order > 0; break;
    case GS_OP_LE: v.i = order <= 0; break;
    case GS_OP_GE: v.i = order >= 0; break;
    case GS_OP_EQ: v.i = order == 0; break;
    default: v.i = order != 0; break;
  }
  return true;
}

bool FoldBinary(GSNode* n, GSStringPool& pool) {
  const GSNode* a = n->child[0];
  const GSNode* b = n->child[1];
  int32_t result = n->resultType;
  GSValue v{};
  switch (n->subkind) {
    case GS_OP_LT: case GS_OP_GT: case GS_OP_LE: case GS_OP_GE: case GS_OP_EQ: case GS_OP_NE:
      if (!FoldCompare(n, a, b, v)) return false;
      break;
    case GS_OP_AND: case GS_OP_OR: {
      int32_t ta = ConstantType(a), tb = ConstantType(b);
      if (ta == GS_TYPE_STRING || tb == GS_TYPE_STRING) return false;
      bool x = ta == GS_TYPE_FLOAT ? a->value.f != 0.0f : a->value.i != 0;
      bool y = tb == GS_TYPE_FLOAT ? b->value.f != 0.0f : b->value.i != 0;
      v.i = n->subkind == GS_OP_AND ? (x && y) : (x || y);
      break;
    }
    default:
      if (result == GS_TYPE_STRING) {
        // Only string + string folds: number-to-text conversion belongs to the run time.
        if (ConstantType(a) != GS_TYPE_STRING || ConstantType(b) != GS_TYPE_STRING) return false;
        v.text = pool.Intern(std::string(a->value.text ? a->value.text : "") + (b->value.text ? b->value.text : ""));
      } else if (result == GS_TYPE_FLOAT) {
        float x = AsFloat(a), y = AsFloat(b);
        switch (n->subkind) {
          case GS_OP_ADD: v.f = x + y; break;
          case GS_OP_SUB: v.f = x - y; break;
          case GS_OP_MUL: v.f = x * y; break;
          case GS_OP_DIV: v.f = x / y; break;
          case GS_OP_MOD: v.f = std::fmod(x, y); break;
          default: return false;
        }
      } else {
        int64_t x = a->value.i, y = b->value.i;
        switch (n->subkind) {
          case GS_OP_ADD: v.i = Wrap(x + y); break;
          case GS_OP_SUB: v.i = Wrap(x - y); break;
          case GS_OP_MUL: v.i = Wrap(x * y); break;
          case GS_OP_DIV: case GS_OP_MOD:
            if (y == 0) return false;  // left to the run time rather than folded into a crash
            v.i = Wrap(n->subkind == GS_OP_DIV ? x / y : x % y);
            break;
          case GS_OP_SHL: v.i = Wrap(static_cast<int64_t>(static_cast<uint32_t>(x) << (y & 31))); break;
          case GS_OP_SHR: v.i = static_cast<int32_t>(x) >> (y & 31); break;
          case GS_OP_BIT_AND: v.i = static_cast<int32_t>(x & y); break;
          case GS_OP_BIT_XOR: v.i = static_cast<int32_t>(x ^ y); break;
          case GS_OP_BIT_OR: v.i = static_cast<int32_t>(x | y); break;
          default: return false;
        }
      }
  }
  GSMakeConstant(n, result, v);
  return true;
}

}  // namespace

bool GSFoldConstant(GSNode* node, GSStringPool& pool) {
  if (!node->IsExpression(GS_EXPR_OPERATOR) || node->resultType == GS_TYPE_NONE) return false;
  switch (node->subkind) {
    case GS_OP_PLUS: case GS_OP_NEGATE: case GS_OP_NOT: case GS_OP_COMPLEMENT:
      return node->child[0]->IsConstant() && FoldUnary(node);
    case GS_OP_MUL: case GS_OP_DIV: case GS_OP_MOD: case GS_OP_ADD: case GS_OP_SUB: case GS_OP_SHL:
    case GS_OP_SHR: case GS_OP_LT: case GS_OP_GT: case GS_OP_LE: case GS_OP_GE: case GS_OP_EQ:
    case GS_OP_NE: case GS_OP_BIT_AND: case GS_OP_BIT_XOR: case GS_OP_BIT_OR: case GS_OP_AND: case GS_OP_OR:
      return node->child[0]->IsConstant() && node->child[1]->IsConstant() && FoldBinary(node, pool);
    default:
      return false;
  }
}

}  // namespace GSCompiler
