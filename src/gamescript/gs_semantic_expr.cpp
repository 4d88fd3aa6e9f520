// Semantic pass, expressions: names, operators, member access, indexing, casts, new,
// assignment and the conversion rules.
#include "gamescript/gs_semantic_internal.h"

namespace GSCompiler {

namespace {

bool IsIncDec(int32_t op) {
  return op == GS_OP_POST_DEC || op == GS_OP_POST_INC || op == GS_OP_PRE_DEC || op == GS_OP_PRE_INC;
}

bool Indexable(int32_t t) { return t == GS_TYPE_STRING || (GSIsArray(t) && t != GS_TYPE_VOID_ARRAY); }
bool StringOrArray(int32_t t) { return t == GS_TYPE_STRING || GSIsArray(t); }

}  // namespace

void GSAnalyser::SetType(GSNode* n, int32_t type, const char* className) {
  n->resultType = type;
  n->className = (type == GS_TYPE_OBJECT || type == GS_TYPE_OBJECT_ARRAY) ? Canonical(className) : nullptr;
}

void GSAnalyser::ExprList(GSNode* first, GSNode* parent) {
  for (GSNode* n = first; n; n = n->next) Expr(n, parent);
}

void GSAnalyser::Expr(GSNode* n, GSNode* parent, int context) {
  if (!n || !EnterNode()) return;
  n->parent = parent;
  if (n->category != GS_CAT_EXPRESSION) {
    InternalError();
    LeaveNode();
    return;
  }
  switch (n->kind) {
    case GS_EXPR_OPERATOR:
      if (n->subkind == GS_OP_MEMBER) MemberAccess(n, context);
      else Operator(n);
      break;
    case GS_EXPR_CONSTANT:
      SetType(n, n->subkind == GS_CONST_BOOL    ? GS_TYPE_BOOL
                 : n->subkind == GS_CONST_INT   ? GS_TYPE_INT
                 : n->subkind == GS_CONST_FLOAT ? GS_TYPE_FLOAT
                                                : GS_TYPE_STRING,
              nullptr);
      break;
    case GS_EXPR_IDENTIFIER: Identifier(n, context); break;
    case GS_EXPR_CALL: Call(n); break;
    case GS_EXPR_ME: {
      GSClassSymbol* cls = table_.currentClass;
      if (!cls || (cls->flags & GS_SPEC_STATIC)) {
        Error(n->line, "me keyword invalid in static, line %d.", n->line);
        Fail(n);
      } else {
        SetType(n, GS_TYPE_OBJECT, cls->name);
        n->symbol = cls;
      }
      break;
    }
    case GS_EXPR_NULL: SetType(n, GS_TYPE_NULL, nullptr); break;
    default:
      InternalError();
      Fail(n);
  }
  LeaveNode();
}

void GSAnalyser::UseVariable(GSNode* n, GSVariableSymbol* var) {
  if (var->flags & GS_SPEC_DEFINE) {
    int32_t t = var->type;
    if (t == GS_TYPE_BOOL || t == GS_TYPE_INT || t == GS_TYPE_FLOAT || t == GS_TYPE_STRING) {
      GSMakeConstant(n, t, var->defineValue);
      return;
    }
  }
  n->symbol = var;
  n->slot = var->index;
  SetType(n, var->type, var->className);
  n->flags |= GS_FLAG_LVALUE;
}

void GSAnalyser::Identifier(GSNode* n, int context) {
  const char* name = n->value.text;
  GSSymbol* sym = table_.Find(name);
  if (sym && sym->kind == GS_SYM_VARIABLE) return UseVariable(n, static_cast<GSVariableSymbol*>(sym));
  if (sym && sym->kind == GS_SYM_CLASS) {
    auto* cls = static_cast<GSClassSymbol*>(sym);
    n->symbol = cls;
    if (!(context & GS_CTX_LEFT_OF_DOT) && !(cls->flags & GS_SPEC_STATIC)) {
      Error(n->line, "class %s is not static, line %d.", name, n->line);
      return Fail(n);
    }
    SetType(n, GS_TYPE_OBJECT, cls->name);
    n->flags |= GS_FLAG_STATIC_REF;
    return;
  }
  if (table_.currentClass) {
    if (GSVariableSymbol* var = FindMemberVariable(table_.currentClass, name)) return UseVariable(n, var);
  }
  if (context & GS_CTX_CALLEE) return Fail(n);
  Error(n->line, "variable %s not declared, line %d.", name, n->line);
  Fail(n);
}

bool GSAnalyser::CheckObjectOperand(GSNode* left, int line) {
  int32_t t = left->resultType;
  if (t == GS_TYPE_VOID || t == GS_TYPE_BOOL || t == GS_TYPE_INT || t == GS_TYPE_FLOAT || t == GS_TYPE_NONE) {
    Error(line, ". operator cannot be used on a non-reference type, line %d.", line);
    return false;
  }
  if (t != GS_TYPE_OBJECT || !left->className) {
    Error(line, "unknown object class for '.' operator, line %d.", line);
    return false;
  }
  return true;
}

void GSAnalyser::MemberAccess(GSNode* n, int context) {
  GSNode* left = n->child[0];
  GSNode* member = n->child[1];
  member->parent = n;
  Expr(left, n, GS_CTX_LEFT_OF_DOT);
  if (!CheckObjectOperand(left, n->line)) return Fail(n);
  GSClassSymbol* cls = FindClass(left->className);
  const char* name = member->value.text;
  if (!cls) {
    if (!input_.includeMode)
      Error(n->line, "member %s does not exist in object %s, line %d.", name, left->className, n->line);
    return Fail(n);
  }
  if ((left->flags & GS_FLAG_STATIC_REF) && !(cls->flags & GS_SPEC_STATIC)) {
    Error(n->line, "%s is not a static class or variable within this class, line %d.", cls->name, n->line);
    return Fail(n);
  }
  GSVariableSymbol* var = FindMemberVariable(cls, name);
  if (!var) {
    if (!(context & GS_CTX_CALLEE))
      Error(n->line, "member %s does not exist in object %s, line %d.", name, cls->name, n->line);
    return Fail(n);
  }
  GSClassSymbol* current = table_.currentClass;
  if (!(var->flags & GS_SPEC_PUBLIC) && !(current && current->DerivesFrom(var->memberOf))) {
    Error(n->line, "member %s not public in object %s, line %d.", name, cls->name, n->line);
    return Fail(n);
  }
  if (var->flags & GS_SPEC_DEFINE) return UseVariable(n, var);
  member->symbol = var;
  member->slot = var->index;
  SetType(member, var->type, var->className);
  n->symbol = var;
  n->slot = var->index;
  SetType(n, var->type, var->className);
  n->flags |= GS_FLAG_LVALUE;
}

int GSAnalyser::Convert(int32_t target, const char* targetClass, const GSNode* source, int line, bool report) {
  int32_t s = source->resultType;
  if (s == GS_TYPE_NONE) return GS_CONV_FAIL;
  targetClass = (target == GS_TYPE_OBJECT || target == GS_TYPE_OBJECT_ARRAY) ? Canonical(targetClass) : nullptr;
  if (!GSConversionAllowed(target, s)) {
    if (report)
      Error(line, "cannot cast from %s to %s, line %d.", Display(source).c_str(),
            GSTypeText(target, targetClass).c_str(), line);
    return GS_CONV_FAIL;
  }
  const char* sourceClass = source->className;
  if (s == target && targetClass && sourceClass && targetClass != sourceClass) {
    GSClassSymbol* sc = FindClass(sourceClass);
    GSClassSymbol* tc = FindClass(targetClass);
    if (!sc || !tc) {
      if (input_.includeMode) return GS_CONV_CONVERT;
      if (report) Error(line, "class %s not defined, line %d.", sc ? targetClass : sourceClass, line);
      return GS_CONV_FAIL;
    }
    if (!sc->DerivesFrom(tc)) {
      if (report) Error(line, "cannot cast from object<%s> to object<%s>, line %d.", sourceClass, targetClass, line);
      return GS_CONV_FAIL;
    }
    return GS_CONV_CONVERT;
  }
  return s == target && sourceClass == targetClass ? GS_CONV_EXACT : GS_CONV_CONVERT;
}

void GSAnalyser::Operator(GSNode* n) {
  int32_t op = n->subkind;
  GSNode* a = n->child[0];
  GSNode* b = n->child[1];
  switch (op) {
    case GS_OP_CAST: return Cast(n);
    case GS_OP_NEW: return New(n);
    case GS_OP_ASSIGN: return Assign(n);
    case GS_OP_INDEX: {
      Expr(a, n);
      Expr(b, n);
      int32_t t = a->resultType;
      if (t == GS_TYPE_NONE) return Fail(n);
      if (!Indexable(t)) {
        Error(n->line, "%s not an array type for [] operator, line %d", Display(a).c_str(), n->line);
        return Fail(n);
      }
      if (b->resultType != GS_TYPE_INT) {
        if (b->resultType != GS_TYPE_NONE) Error(n->line, "index not integral for [] operator, line %d", n->line);
        return Fail(n);
      }
      SetType(n, t == GS_TYPE_STRING ? GS_TYPE_INT : t - GS_TYPE_ARRAY_OFFSET, a->className);
      n->flags |= GS_FLAG_LVALUE;
      return;
    }
    case GS_OP_RANGE: {
      Expr(a, n);
      Expr(b, n);
      Expr(n->child[2], n);
      int32_t t = a->resultType;
      if (t == GS_TYPE_NONE) return Fail(n);
      if (!Indexable(t)) {
        Error(n->line, "%s not an array type for [,] operator, line %d", Display(a).c_str(), n->line);
        return Fail(n);
      }
      if (b && b->resultType != GS_TYPE_INT) {
        Error(n->line, "left index not integral for [,] operator, line %d", n->line);
        return Fail(n);
      }
      if (n->child[2] && n->child[2]->resultType != GS_TYPE_INT) {
        Error(n->line, "right index not integral for [,] operator, line %d", n->line);
        return Fail(n);
      }
      SetType(n, t, a->className);
      n->flags |= GS_FLAG_LVALUE;
      return;
    }
    case GS_OP_SIZE:
      Expr(a, n);
      if (!StringOrArray(a->resultType)) {
        Error(n->line, ".size operator requires an array type, line %d.", n->line);
        return Fail(n);
      }
      return SetType(n, GS_TYPE_INT, nullptr);
    case GS_OP_ISCLASS: {
      Expr(a, n);
      b->parent = n;
      if (a->resultType != GS_TYPE_OBJECT) {
        Error(n->line, ".isclass operator requires an object type, line %d.", n->line);
        return Fail(n);
      }
      GSClassSymbol* cls = FindClass(b->value.text);
      if (!cls && !input_.includeMode) {
        Error(n->line, "class %s not declared for .isclass operator, line %d.", b->value.text, n->line);
        return Fail(n);
      }
      b->symbol = cls;
      return SetType(n, GS_TYPE_BOOL, nullptr);
    }
    case GS_OP_COPY: {
      Expr(a, n);
      Expr(b, n);
      if (!StringOrArray(a->resultType)) {
        Error(n->line, ".copy operator requires an array type, line %d.", n->line);
        return Fail(n);
      }
      if (!StringOrArray(b->resultType)) {
        Error(n->line, ".copy expression must be an array type, line %d.", n->line);
        return Fail(n);
      }
      if (a->resultType != b->resultType || Convert(a->resultType, a->className, b, n->line, false) == GS_CONV_FAIL) {
        Error(n->line, "left and right types incompatible for .copy operator, line %d.", n->line);
        return Fail(n);
      }
      return SetType(n, GS_TYPE_VOID, nullptr);
    }
    default: break;
  }

  bool unary = IsIncDec(op) || op == GS_OP_PLUS || op == GS_OP_NEGATE || op == GS_OP_NOT || op == GS_OP_COMPLEMENT;
  if (unary) {
    Expr(a, n);
    if (a->resultType == GS_TYPE_NONE) return Fail(n);
    int32_t r = GSUnaryResult(op, a->resultType);
    if (r == GS_TYPE_NONE) {
      Error(n->line, "illegal types for unary operand %s, line %d", GSOperatorName(op), n->line);
      return Fail(n);
    }
    if (IsIncDec(op) && !(a->flags & GS_FLAG_LVALUE)) {
      Error(n->line, "expression not an l-value for %s operator, line %d", GSOperatorName(op), n->line);
      return Fail(n);
    }
    SetType(n, r, nullptr);
    if (!IsIncDec(op)) GSFoldConstant(n, pool_);
    return;
  }
  if (op < 0 || op >= GS_OP_COUNT || !b) {
    InternalError();
    return Fail(n);
  }
  Expr(a, n);
  Expr(b, n);
  if (a->resultType == GS_TYPE_NONE || b->resultType == GS_TYPE_NONE) return Fail(n);
  int32_t r = GSBinaryResult(op, a->resultType, b->resultType);
  if (r == GS_TYPE_NONE) {
    Error(n->line, "illegal types for operand %s, line %d", GSOperatorName(op), n->line);
    return Fail(n);
  }
  SetType(n, r, nullptr);
  GSFoldConstant(n, pool_);
}

void GSAnalyser::Assign(GSNode* n) {
  GSNode* left = n->child[0];
  GSNode* right = n->child[1];
  Expr(left, n);
  Expr(right, n);
  if (left->resultType == GS_TYPE_NONE) return Fail(n);
  if (!(left->flags & GS_FLAG_LVALUE)) {
    Error(n->line, "illegal l-value for assignment, line %d.", n->line);
    return Fail(n);
  }
  if (Convert(left->resultType, left->className, right, n->line, true) == GS_CONV_FAIL) return Fail(n);
  SetType(n, left->resultType, left->className);
}

void GSAnalyser::Cast(GSNode* n) {
  GSNode* operand = n->child[0];
  GSNode* typeNode = n->child[1];
  typeNode->parent = n;
  Expr(operand, n);
  int32_t s = operand->resultType;
  int32_t target = typeNode->subkind;
  const char* targetClass = ClassNameOf(typeNode);
  if (s == GS_TYPE_NONE) return Fail(n);
  bool ok = GSConversionAllowed(target, s);
  if (ok && s == target && targetClass && operand->className && targetClass != operand->className) {
    GSClassSymbol* sc = FindClass(operand->className);
    GSClassSymbol* tc = FindClass(targetClass);
    if (!sc || !tc) {
      if (!input_.includeMode) {
        Error(n->line, "class %s not defined, line %d.", sc ? targetClass : operand->className, n->line);
        return Fail(n);
      }
    } else {
      ok = sc->DerivesFrom(tc) || tc->DerivesFrom(sc);
    }
  }
  if (!ok) {
    Error(n->line, "cannot cast from %s to %s, line %d.", Display(operand).c_str(),
          GSTypeText(target, targetClass).c_str(), n->line);
    return Fail(n);
  }
  SetType(n, target, targetClass);
  if (s != target || operand->className != n->className) n->flags |= GS_FLAG_RUNTIME_CAST;
}

void GSAnalyser::New(GSNode* n) {
  GSNode* typeNode = n->child[0];
  typeNode->parent = n;
  int32_t t = typeNode->subkind;
  const char* className = ClassNameOf(typeNode);
  Expr(n->child[1], n);
  ExprList(n->child[2], n);
  if (t == GS_TYPE_OBJECT && !className) {
    Error(n->line, "cannot new unnamed object, line %d.", n->line);
    return Fail(n);
  }
  bool allowed = t == GS_TYPE_STRING || (t >= GS_TYPE_BOOL_ARRAY && t <= GS_TYPE_STRING_ARRAY) ||
                 ((t == GS_TYPE_OBJECT || t == GS_TYPE_OBJECT_ARRAY) && className);
  if (!allowed) {
    Error(n->line, "cannot new type %s, line %d.", GSTypeText(t, className).c_str(), n->line);
    return Fail(n);
  }
  if (GSIsArray(t) && (!n->child[1] || n->child[1]->resultType != GS_TYPE_INT)) {
    if (!n->child[1] || n->child[1]->resultType != GS_TYPE_NONE)
      Error(n->line, "non-integral expression for new[], line %d.", n->line);
    return Fail(n);
  }
  if (n->child[2]) {
    Error(n->line, "constructors not yet supported, line %d.", n->line);
    return Fail(n);
  }
  if (className) {
    GSClassSymbol* cls = FindClass(className);
    if (!cls) {
      if (!input_.includeMode)
        Error(n->line, "cannot find class %s in this translation unit, line %d.", className, n->line);
      return Fail(n);
    }
    if (t == GS_TYPE_OBJECT && (cls->flags & (GS_SPEC_STATIC | GS_SPEC_GAME))) {
      Error(n->line, "cannot new static or game class, line %d.", n->line);
      return Fail(n);
    }
    n->symbol = cls;
  }
  SetType(n, t, className);
}

}  // namespace GSCompiler
