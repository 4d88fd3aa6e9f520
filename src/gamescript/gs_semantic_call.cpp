// Semantic pass, function calls: overload resolution over the class and its bases,
// 'inherited' calls, access checks and implicit argument conversions.
#include "gamescript/gs_semantic_internal.h"

namespace GSCompiler {

namespace {

constexpr size_t kMaxCandidates = 1024;

// Functions of `cls` and its bases in search order (own first, then bases depth first). A base
// version overridden in a class that derives from it is hidden; two unrelated bases offering
// the same signature both stay (the call is then ambiguous).
void CollectFunctions(GSClassSymbol* cls, const char* name, int32_t argc, std::vector<GSFunctionSymbol*>& out) {
  std::vector<GSFunctionSymbol*> found;
  GSWalkClasses(cls, true, [&](GSClassSymbol* c) {
    for (GSFunctionSymbol* f = c->firstFunction; f; f = f->nextFunction)
      if (f->functionName == name && f->parameterCount == argc) found.push_back(f);
    return found.size() >= 4 * kMaxCandidates ? GSWalk::Stop : GSWalk::Descend;
  });
  for (GSFunctionSymbol* f : found) {
    bool hidden = false;
    for (GSFunctionSymbol* g : found)
      hidden |= g != f && g->name == f->name && g->memberOf != f->memberOf && g->memberOf->DerivesFrom(f->memberOf);
    if (!hidden) out.push_back(f);
    if (out.size() >= kMaxCandidates) break;
  }
}

// The overridden version of `key` in the bases of `cls`.
GSFunctionSymbol* FindInBases(GSClassSymbol* cls, const char* key) {
  GSFunctionSymbol* found = nullptr;
  GSWalkClasses(cls, false, [&](GSClassSymbol* c) {
    GSSymbol* s = c->members.Find(key);
    if (!s || s->kind != GS_SYM_FUNCTION) return GSWalk::Descend;
    found = static_cast<GSFunctionSymbol*>(s);
    return GSWalk::Stop;
  });
  return found;
}

}  // namespace

GSNode* GSAnalyser::NewTypeNode(int32_t type, const char* className, int line) {
  GSNode* t = NewNode(*input_.nodes, GS_CAT_DECLARATION, GS_DECL_TYPE, line);
  t->subkind = type;
  t->className = className;
  return t;
}

bool GSAnalyser::ConvertArguments(GSNode* call, GSFunctionSymbol* fn, bool report) {
  GSNode** link = &call->child[1];
  for (int32_t i = 0; i < fn->parameterCount && *link; ++i) {
    GSNode* arg = *link;
    const GSParameterType& p = fn->parameters[i];
    int c = Convert(p.type, p.className, arg, arg->line, false);
    if (c == GS_CONV_FAIL) {
      if (report) Error(call->line, "Error in expression, line %d.", call->line);
      return false;
    }
    if (arg->resultType != p.type) {
      GSNode* cast = NewNode(*input_.nodes, GS_CAT_EXPRESSION, GS_EXPR_OPERATOR, arg->line);
      cast->subkind = GS_OP_CAST;
      cast->flags |= GS_FLAG_IMPLICIT_CAST | GS_FLAG_RUNTIME_CAST;
      cast->child[0] = arg;
      cast->child[1] = NewTypeNode(p.type, p.className, arg->line);
      cast->child[1]->parent = cast;
      cast->next = arg->next;
      cast->parent = call;
      arg->next = nullptr;
      arg->parent = cast;
      SetType(cast, p.type, p.className);
      *link = cast;
    }
    link = &(*link)->next;
  }
  return true;
}

void GSAnalyser::InheritedCall(GSNode* n, bool onObject) {
  if (onObject) {
    Error(n->line, "'inherited' can only be used on current function, line %d.", n->line);
    return Fail(n);
  }
  GSFunctionSymbol* current = table_.currentFunction;
  if (!current || !table_.currentClass) {
    Error(n->line, "internal compiler error while parsing 'inherited', line %d.", n->line);
    return Fail(n);
  }
  if (current->flags & (GS_SPEC_NATIVE | GS_SPEC_THREAD)) {
    Error(n->line, "'inherited' can not be used on native or thread function, line %d.", n->line);
    return Fail(n);
  }
  GSFunctionSymbol* base = FindInBases(table_.currentClass, current->name);
  if (!base) {
    Error(n->line, "function %s not declared, line %d.", current->functionName, n->line);
    return Fail(n);
  }
  if (ListLength(n->child[1]) != base->parameterCount) {
    Error(n->line, "Error in expression, line %d.", n->line);
    return Fail(n);
  }
  if (!ConvertArguments(n, base, true)) return Fail(n);
  n->symbol = base;
  n->flags |= GS_FLAG_INHERITED_CALL | GS_FLAG_DIRECT_CALL;
  SetType(n, base->type, base->returnClass);
}

void GSAnalyser::Call(GSNode* n) {
  GSNode* callee = n->child[0];
  ExprList(n->child[1], n);
  for (GSNode* a = n->child[1]; a; a = a->next)
    if (a->resultType == GS_TYPE_NONE) {
      // An argument already failed: resolve nothing more, report nothing more.
      Expr(callee, n, GS_CTX_CALLEE);
      return Fail(n);
    }

  const char* name = nullptr;
  GSClassSymbol* cls = table_.currentClass;
  bool onObject = false;
  if (callee->IsExpression(GS_EXPR_IDENTIFIER)) {
    callee->parent = n;
    name = callee->value.text;
  } else if (callee->IsOperator(GS_OP_MEMBER)) {
    callee->parent = n;
    GSNode* left = callee->child[0];
    callee->child[1]->parent = callee;
    Expr(left, callee, GS_CTX_LEFT_OF_DOT);
    if (!CheckObjectOperand(left, n->line)) {
      Fail(callee);
      return Fail(n);
    }
    cls = FindClass(left->className);
    if (!cls) {
      if (!input_.includeMode)
        Error(n->line, "function %s not declared in class %s or derivative, line %d.", callee->child[1]->value.text,
              left->className, n->line);
      Fail(callee);
      return Fail(n);
    }
    if ((left->flags & GS_FLAG_STATIC_REF) && !(cls->flags & GS_SPEC_STATIC)) {
      Error(n->line, "%s is not a static class or variable within this class, line %d.", cls->name, n->line);
      Fail(callee);
      return Fail(n);
    }
    name = callee->child[1]->value.text;
    onObject = true;
    n->flags |= GS_FLAG_METHOD_CALL;
  } else {
    Expr(callee, n);
    Error(n->line, "Error in expression, line %d.", n->line);
    return Fail(n);
  }

  if (name == inherited_) return InheritedCall(n, onObject);
  if (!cls) {
    InternalError();
    return Fail(n);
  }

  int32_t argc = ListLength(n->child[1]);
  std::vector<GSFunctionSymbol*> candidates;
  CollectFunctions(cls, name, argc, candidates);
  GSFunctionSymbol* best = nullptr;
  int bestConversions = 0;
  int exact = 0;
  for (GSFunctionSymbol* f : candidates) {
    int conversions = 0;
    bool ok = true;
    int32_t i = 0;
    for (GSNode* a = n->child[1]; a && ok; a = a->next, ++i) {
      int c = Convert(f->parameters[i].type, f->parameters[i].className, a, a->line, false);
      if (c == GS_CONV_FAIL) ok = false;
      else conversions += c == GS_CONV_CONVERT;
    }
    if (!ok) continue;
    if (conversions == 0) ++exact;
    if (!best || conversions < bestConversions) {
      best = f;
      bestConversions = conversions;
    }
  }
  if (exact > 1) {
    Error(n->line, "function call %s is ambiguous, line %d.", name, n->line);
    return Fail(n);
  }
  if (!best) {
    if (onObject)
      Error(n->line, "function %s not declared in class %s or derivative, line %d.", name, cls->name, n->line);
    else
      Error(n->line, "function %s not declared, line %d.", name, n->line);
    return Fail(n);
  }
  GSClassSymbol* current = table_.currentClass;
  if (onObject && !(best->flags & GS_SPEC_PUBLIC) && !(current && current->DerivesFrom(best->memberOf))) {
    Error(n->line, "function %s not public in object %s, line %d.", name, cls->name, n->line);
    return Fail(n);
  }
  if (!ConvertArguments(n, best, true)) return Fail(n);
  n->symbol = best;
  callee->symbol = best;
  if (onObject) callee->child[1]->symbol = best;
  if (best->memberOf && (best->memberOf->flags & (GS_SPEC_STATIC | GS_SPEC_FINAL))) n->flags |= GS_FLAG_DIRECT_CALL;
  SetType(n, best->type, best->returnClass);
  SetType(callee, best->type, best->returnClass);
}

}  // namespace GSCompiler
