// Expressions. Operands are converted to the type the operator works in before it runs;
// stores use the drop form when the value is not wanted and the keep form when it is.
#include "gamescript/gs_class_layout.h"
#include "gamescript/gs_codegen.h"
#include "gamescript/gs_opcodes.h"

namespace GSCompiler {

namespace {

bool IsValueType(int32_t t) { return t == GS_TYPE_BOOL || t == GS_TYPE_INT || t == GS_TYPE_FLOAT; }
bool IsArray(int32_t t) { return t >= GS_TYPE_VOID_ARRAY && t <= GS_TYPE_OBJECT_ARRAY; }
// Arrays of strings and objects hold references.
bool HasReferenceElements(int32_t arrayType) {
  return arrayType == GS_TYPE_STRING_ARRAY || arrayType == GS_TYPE_OBJECT_ARRAY;
}

}  // namespace

int32_t GSFunctionCompiler::ClassNumber(const char* className) const {
  GSSymbol* s = className ? table_.Find(className) : nullptr;
  if (!s || s->kind != GS_SYM_CLASS) {
    const_cast<GSFunctionCompiler*>(this)->Fail("Compiler error GEC");
    return 0;
  }
  return s->index;
}

GSClassSymbol* GSFunctionCompiler::ClassOf(const GSNode* objectExpr) const {
  GSSymbol* s = objectExpr->className ? table_.Find(objectExpr->className) : nullptr;
  return s && s->kind == GS_SYM_CLASS ? static_cast<GSClassSymbol*>(s) : nullptr;
}

void GSFunctionCompiler::Discard(int32_t type) {
  if (type == GS_TYPE_VOID || type == GS_TYPE_NONE) return;
  Op(IsReferenceType(type) ? OP_POP_R : OP_POP_V);
}

void GSFunctionCompiler::Convert(int32_t from, int32_t to) {
  if (from == to) return;
  switch (to) {
    case GS_TYPE_STRING:
      if (from == GS_TYPE_INT) Op(OP_I2S);
      else if (from == GS_TYPE_BOOL) Op(OP_B2S);
      else if (from == GS_TYPE_FLOAT) Op(OP_F2S);
      break;
    case GS_TYPE_FLOAT:
      if (from == GS_TYPE_INT || from == GS_TYPE_BOOL) Op(OP_I2F);
      break;
    case GS_TYPE_INT:
      if (from == GS_TYPE_FLOAT) Op(OP_F2I);
      break;
    case GS_TYPE_BOOL:
      if (from == GS_TYPE_INT) Op(OP_TEST_NE);
      else if (from == GS_TYPE_FLOAT) {
        Op(OP_NOT_F);
        Op(OP_TEST_EQ);
      }
      break;
    default: break;  // references convert without code
  }
}

void GSFunctionCompiler::ToBool(int32_t type) {
  if (type == GS_TYPE_BOOL) return;
  if (IsValueType(type)) return Convert(type, GS_TYPE_BOOL);
  Op(OP_NOT_R);
  Op(OP_TEST_EQ);
}

void GSFunctionCompiler::Expr(GSNode* n, bool want) {
  if (!n || failed_) return;
  int saved = line_;
  if (n->line > 0) line_ = n->line;
  if (n->category != GS_CAT_EXPRESSION) {
    Fail("Compiler error GEC");
    return;
  }
  switch (n->kind) {
    case GS_EXPR_CONSTANT:
      if (!want) break;
      if (n->subkind == GS_CONST_FLOAT) PushFloat(n->value.f);
      else if (n->subkind == GS_CONST_STRING) PushString(n->value.text);
      else PushInt(n->value.i);
      break;
    case GS_EXPR_IDENTIFIER:
      if (n->flags & GS_FLAG_STATIC_REF) OpI16(OP_STATIC_OBJECT, ClassNumber(n->className));
      else Load(n);
      if (!want) Discard(n->resultType);
      break;
    case GS_EXPR_ME:
      OpI16(OP_LOAD_LOCAL_R, 0);
      if (!want) Discard(GS_TYPE_OBJECT);
      break;
    case GS_EXPR_NULL:
      Op(OP_PUSH_0);
      if (!want) Discard(GS_TYPE_NULL);
      break;
    case GS_EXPR_CALL: Call(n, want); break;
    case GS_EXPR_OPERATOR: Operator(n, want); break;
    default: Fail("Compiler error GEC");
  }
  line_ = saved;
}

void GSFunctionCompiler::Operator(GSNode* n, bool want) {
  GSNode* a = n->child[0];
  GSNode* b = n->child[1];
  switch (n->subkind) {
    case GS_OP_POST_DEC: case GS_OP_POST_INC: case GS_OP_PRE_DEC: case GS_OP_PRE_INC:
      return Step(n, want);
    case GS_OP_ASSIGN:
      return Assign(a, [&] {
        Value(b);
        Convert(b->resultType, a->resultType);
      }, want);
    case GS_OP_COPY:  // the copy of the argument, stored into the operand
      return Assign(a, [&] {
        Value(b);
        Op(b->resultType == GS_TYPE_STRING ? OP_STRING_COPY : OP_ARRAY_COPY);
      }, false, false, true);
    case GS_OP_MEMBER: case GS_OP_INDEX: case GS_OP_RANGE: Load(n); break;
    case GS_OP_PLUS: case GS_OP_NEGATE: case GS_OP_NOT: case GS_OP_COMPLEMENT: Unary(n); break;
    case GS_OP_CAST: Cast(n); break;
    case GS_OP_LT: case GS_OP_GT: case GS_OP_LE: case GS_OP_GE: case GS_OP_EQ: case GS_OP_NE: Compare(n); break;
    case GS_OP_AND: case GS_OP_OR: Logical(n); break;
    case GS_OP_SIZE:
      Value(a);
      Op(a->resultType == GS_TYPE_STRING ? OP_STRING_SIZE : OP_ARRAY_SIZE);
      break;
    case GS_OP_ISCLASS:
      Value(a);
      OpI16(OP_ISCLASS, ClassNumber(b ? b->value.text : nullptr));
      break;
    case GS_OP_NEW: New(n); break;
    default:
      if (n->subkind >= GS_OP_MUL && n->subkind <= GS_OP_BIT_OR) {
        Binary(n);
        break;
      }
      Fail("Compiler error GEC");
      return;
  }
  if (!want) Discard(n->resultType);
}

void GSFunctionCompiler::Binary(GSNode* n) {
  const int32_t r = n->resultType;
  GSNode* a = n->child[0];
  GSNode* b = n->child[1];
  Value(a);
  Convert(a->resultType, r);
  Value(b);
  Convert(b->resultType, r);
  const bool f = r == GS_TYPE_FLOAT;
  switch (n->subkind) {
    case GS_OP_ADD: Op(r == GS_TYPE_STRING ? OP_ADD_S : f ? OP_ADD_F : OP_ADD_I); break;
    case GS_OP_SUB: Op(f ? OP_SUB_F : OP_SUB_I); break;
    case GS_OP_MUL: Op(f ? OP_MUL_F : OP_MUL_I); break;
    case GS_OP_DIV: Op(f ? OP_DIV_F : OP_DIV_I); break;
    case GS_OP_MOD: Op(f ? OP_MOD_F : OP_MOD_I); break;
    case GS_OP_SHL: Op(OP_SHL); break;
    case GS_OP_SHR: Op(OP_SHR); break;
    case GS_OP_BIT_AND: Op(OP_AND_I); break;
    case GS_OP_BIT_OR: Op(OP_OR_I); break;
    case GS_OP_BIT_XOR: Op(OP_XOR_I); break;
    default: Fail("Compiler error GEC");
  }
}

void GSFunctionCompiler::Compare(GSNode* n) {
  GSNode* a = n->child[0];
  GSNode* b = n->child[1];
  const int32_t at = a->resultType, bt = b->resultType;
  const bool scalar_a = IsValueType(at) || at == GS_TYPE_STRING, scalar_b = IsValueType(bt) || bt == GS_TYPE_STRING;
  uint8_t compare = OP_CMP_R;
  int32_t common = at;
  if (scalar_a && scalar_b) {
    if (at == GS_TYPE_STRING || bt == GS_TYPE_STRING) common = GS_TYPE_STRING, compare = OP_CMP_S;
    else if (at == GS_TYPE_FLOAT || bt == GS_TYPE_FLOAT) common = GS_TYPE_FLOAT, compare = OP_CMP_F;
    else common = GS_TYPE_INT, compare = OP_CMP_I;
  }
  Value(a);
  if (compare != OP_CMP_R) Convert(at, common);
  Value(b);
  if (compare != OP_CMP_R) Convert(bt, common);
  Op(compare);
  switch (n->subkind) {
    case GS_OP_EQ: Op(OP_TEST_EQ); break;
    case GS_OP_NE: Op(OP_TEST_NE); break;
    case GS_OP_LT: Op(OP_TEST_LT); break;
    case GS_OP_LE: Op(OP_TEST_LE); break;
    case GS_OP_GT: Op(OP_TEST_GT); break;
    default: Op(OP_TEST_GE); break;
  }
}

void GSFunctionCompiler::Logical(GSNode* n) {
  GSNode* a = n->child[0];
  GSNode* b = n->child[1];
  Value(a);
  ToBool(a->resultType);
  size_t skip = Jump(n->subkind == GS_OP_AND ? OP_AND_JUMP : OP_OR_JUMP);
  Op(OP_POP_V);  // the left value decided nothing: the right one is the result
  Value(b);
  ToBool(b->resultType);
  PatchI32(skip, static_cast<int32_t>(Here()));
}

void GSFunctionCompiler::Unary(GSNode* n) {
  GSNode* a = n->child[0];
  const int32_t t = a->resultType;
  Value(a);
  switch (n->subkind) {
    case GS_OP_PLUS: break;
    case GS_OP_NEGATE: Op(t == GS_TYPE_FLOAT ? OP_NEG_F : OP_NEG_I); break;
    case GS_OP_COMPLEMENT: Op(OP_COMPLEMENT); break;
    default:  // '!'
      if (t == GS_TYPE_FLOAT) Op(OP_NOT_F);
      else if (IsValueType(t)) Op(OP_TEST_EQ);
      else Op(OP_NOT_R);
  }
}

void GSFunctionCompiler::Step(GSNode* n, bool want) {
  GSNode* target = n->child[0];
  const bool f = target->resultType == GS_TYPE_FLOAT;
  const bool up = n->subkind == GS_OP_POST_INC || n->subkind == GS_OP_PRE_INC;
  const bool post = n->subkind == GS_OP_POST_INC || n->subkind == GS_OP_POST_DEC;
  const uint8_t step = f ? (up ? OP_INC_F : OP_DEC_F) : (up ? OP_INC_I : OP_DEC_I);
  const uint8_t undo = f ? (up ? OP_DEC_F : OP_INC_F) : (up ? OP_DEC_I : OP_INC_I);
  Assign(target, [&] { Op(step); }, want, true);
  if (want && post) Op(undo);  // the stored value stepped back is the old one
}

void GSFunctionCompiler::New(GSNode* n) {
  GSNode* type = n->child[0];
  const int32_t t = n->resultType;
  if (t == GS_TYPE_STRING) {
    Op(OP_NEW_STRING);
  } else if (IsArray(t)) {
    Value(n->child[1]);
    Op(HasReferenceElements(t) ? OP_NEW_ARRAY_R : OP_NEW_ARRAY_V);
  } else if (t == GS_TYPE_OBJECT) {
    OpI16(OP_NEW_OBJECT, ClassNumber(n->className ? n->className : (type && type->child[0] ? type->child[0]->value.text : nullptr)));
  } else {
    Fail("Compiler error GEC");
  }
}

void GSFunctionCompiler::Cast(GSNode* n) {
  GSNode* a = n->child[0];
  Value(a);
  const int32_t to = n->resultType;
  if (IsValueType(to) || to == GS_TYPE_STRING) {
    Convert(a->resultType, to);
  } else if (to == GS_TYPE_OBJECT && n->className && n->className != a->className &&
             (n->flags & GS_FLAG_RUNTIME_CAST)) {
    OpI16(OP_CAST, ClassNumber(n->className));
  }
}

void GSFunctionCompiler::Load(GSNode* n) {
  if (n->IsExpression(GS_EXPR_IDENTIFIER)) {
    auto* var = static_cast<GSVariableSymbol*>(n->symbol);
    if (!var || var->kind != GS_SYM_VARIABLE) return (void)Fail("Compiler error GEC");
    const bool r = IsReferenceType(var->type);
    if (!var->memberOf) return OpI16(r ? OP_LOAD_LOCAL_R : OP_LOAD_LOCAL_V, n->slot);
    return OpI16(r ? OP_LOAD_MEMBER_R : OP_LOAD_MEMBER_V, MemberSlotIn(cls_, var));
  }
  GSNode* a = n->child[0];
  switch (n->subkind) {
    case GS_OP_MEMBER: {
      auto* var = static_cast<GSVariableSymbol*>(n->symbol);
      Value(a);
      int32_t slot = MemberSlotIn(ClassOf(a), var);
      if (!var || slot < 0) return (void)Fail("Compiler error GEC");
      OpI16(IsReferenceType(var->type) ? OP_LOAD_MEMBER_OF_R : OP_LOAD_MEMBER_OF_V, slot);
      return;
    }
    case GS_OP_INDEX:
      Value(a);
      Value(n->child[1]);
      Op(a->resultType == GS_TYPE_STRING ? OP_LOAD_CHAR : HasReferenceElements(a->resultType) ? OP_LOAD_ELEM_R : OP_LOAD_ELEM_V);
      return;
    case GS_OP_RANGE:
      Value(a);
      for (GSNode* bound : {n->child[1], n->child[2]}) {
        if (bound) Value(bound);
        else OpI32(OP_PUSH_32, -1);  // an absent bound
      }
      Op(a->resultType == GS_TYPE_STRING ? OP_RANGE_S : HasReferenceElements(a->resultType) ? OP_RANGE_R : OP_RANGE_V);
      return;
    default: Fail("Compiler error GEC");
  }
}

void GSFunctionCompiler::Assign(GSNode* target, const std::function<void()>& value, bool want, bool compound,
                                bool copied) {
  const int32_t t = target->resultType;
  const bool r = IsReferenceType(t);
  auto finish = [&] {
    value();
    if (t == GS_TYPE_STRING && !compound && !copied) Op(OP_STRING_COPY);  // strings are stored as copies
  };
  if (target->IsExpression(GS_EXPR_IDENTIFIER)) {
    auto* var = static_cast<GSVariableSymbol*>(target->symbol);
    if (!var || var->kind != GS_SYM_VARIABLE) return (void)Fail("Compiler error GEC");
    if (!var->memberOf) {
      if (compound) Load(target);
      finish();
      return OpI16(r ? (want ? OP_STORE_LOCAL_R_KEEP : OP_STORE_LOCAL_R) : (want ? OP_STORE_LOCAL_V_KEEP : OP_STORE_LOCAL_V),
                   target->slot);
    }
    const int32_t slot = MemberSlotIn(cls_, var);
    if (compound) Load(target);
    finish();
    return OpI16(r ? (want ? OP_STORE_MEMBER_R_KEEP : OP_STORE_MEMBER_R) : (want ? OP_STORE_MEMBER_V_KEEP : OP_STORE_MEMBER_V),
                 slot);
  }
  if (!target->IsExpression(GS_EXPR_OPERATOR)) return (void)Fail("Compiler error GEC");
  GSNode* a = target->child[0];
  switch (target->subkind) {
    case GS_OP_MEMBER: {
      auto* var = static_cast<GSVariableSymbol*>(target->symbol);
      Value(a);
      const int32_t slot = MemberSlotIn(ClassOf(a), var);
      if (!var || slot < 0) return (void)Fail("Compiler error GEC");
      if (compound) {
        Op(OP_DUP_OBJECT);
        OpI16(r ? OP_LOAD_MEMBER_OF_R : OP_LOAD_MEMBER_OF_V, slot);
      }
      finish();
      return OpI16(r ? (want ? OP_STORE_MEMBER_OF_R_KEEP : OP_STORE_MEMBER_OF_R)
                     : (want ? OP_STORE_MEMBER_OF_V_KEEP : OP_STORE_MEMBER_OF_V),
                   slot);
    }
    case GS_OP_INDEX: {
      Value(a);
      Value(target->child[1]);
      const bool text = a->resultType == GS_TYPE_STRING;
      const bool refs = HasReferenceElements(a->resultType);
      if (compound) {
        Op(OP_DUP_ELEMENT);
        Op(text ? OP_LOAD_CHAR : refs ? OP_LOAD_ELEM_R : OP_LOAD_ELEM_V);
      }
      finish();
      if (text) return Op(want ? OP_STORE_CHAR_KEEP : OP_STORE_CHAR);
      return Op(refs ? (want ? OP_STORE_ELEM_R_KEEP : OP_STORE_ELEM_R) : (want ? OP_STORE_ELEM_V_KEEP : OP_STORE_ELEM_V));
    }
    case GS_OP_RANGE: {
      if (compound) return (void)Fail("Compiler error GEC");
      Value(a);
      for (GSNode* bound : {target->child[1], target->child[2]}) {
        if (bound) Value(bound);
        else OpI32(OP_PUSH_32, -1);
      }
      finish();
      if (a->resultType == GS_TYPE_STRING) return Op(want ? OP_STORE_RANGE_S_KEEP : OP_STORE_RANGE_S);
      if (HasReferenceElements(a->resultType)) return Op(want ? OP_STORE_RANGE_R_KEEP : OP_STORE_RANGE_R);
      return Op(want ? OP_STORE_RANGE_V_KEEP : OP_STORE_RANGE_V);
    }
    default: Fail("Compiler error GEC");
  }
}

void GSFunctionCompiler::Call(GSNode* n, bool want) {
  auto* fn = static_cast<GSFunctionSymbol*>(n->symbol);
  if (!fn || fn->kind != GS_SYM_FUNCTION) return (void)Fail("Compiler error GECTS");
  GSNode* callee = n->child[0];
  GSClassSymbol* objectClass = cls_;
  if ((n->flags & GS_FLAG_METHOD_CALL) && callee->IsOperator(GS_OP_MEMBER)) {
    Value(callee->child[0]);
    objectClass = ClassOf(callee->child[0]);
  } else {
    OpI16(OP_LOAD_LOCAL_R, 0);  // the current object
  }
  int32_t args = 1;
  for (GSNode* a = n->child[1]; a; a = a->next, ++args) Value(a);
  const int32_t slot = FunctionSlotIn(objectClass, fn);
  if (slot < 0) return (void)Fail("Compiler error GECTS");
  if (n->flags & GS_FLAG_INHERITED_CALL) OpI16(OP_INHERITED, 1 - args);
  const uint8_t op = (fn->flags & GS_SPEC_NATIVE) ? OP_CALL_NATIVE : (fn->flags & GS_SPEC_THREAD) ? OP_CALL_THREAD : OP_CALL;
  OpI16x2(op, 1 - args, slot);
  const bool returns = fn->type != GS_TYPE_VOID;
  Depth((returns ? 1 : 0) - args);
  if (!want && returns) Discard(fn->type);
}

}  // namespace GSCompiler
