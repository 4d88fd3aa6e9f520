// Semantic pass, statements: scopes, local variables, conditions, switch/case/default,
// break/continue, return, wait/on.
#include "gamescript/gs_semantic_internal.h"

namespace GSCompiler {

namespace {

bool ValidCondition(const GSNode* e) {
  return e && e->resultType != GS_TYPE_VOID && e->resultType != GS_TYPE_VOID_ARRAY && e->resultType != GS_TYPE_NONE;
}

}  // namespace

void GSAnalyser::StatementList(GSNode* first, GSNode* parent) {
  for (GSNode* s = first; s && !aborted_; s = s->next) Statement(s, parent);
}

void GSAnalyser::Condition(GSNode* expr, GSNode* parent, const char* message, int line) {
  ExprList(expr, parent);
  // A comma list yields its last element.
  GSNode* last = expr;
  while (last && last->next) last = last->next;
  if (!ValidCondition(last)) Error(line, message, line);
}

void GSAnalyser::LocalVariables(GSNode* decl) {
  if (decl->flags & GS_SPEC_MASK) {
    Error(decl->line, "variable declaration has illegal specifiers, line %d.", decl->line);
    return;
  }
  int32_t type = decl->child[0]->subkind;
  const char* className = ClassNameOf(decl->child[0]);
  GSFunctionSymbol* fn = table_.currentFunction;
  for (GSNode* d = decl->child[1]; d; d = d->next) {
    d->parent = decl;
    const char* name = d->child[0]->value.text;
    if (d->child[1]) Expr(d->child[1], d);
    if (table_.FindInCurrentScope(name)) {
      Error(d->line, "Variable %s already declared in this scope, line %d.", name, d->line);
      continue;
    }
    auto* var = table_.NewSymbol<GSVariableSymbol>(name, GS_SYM_VARIABLE);
    var->type = type;
    var->className = className;
    var->declaration = d;
    if (fn) {
      var->index = fn->localSlots++;
      static_cast<GSFunctionSymbolExt*>(fn)->localCount++;
    }
    table_.Insert(var);
    d->symbol = var;
    d->child[0]->symbol = var;
    d->slot = var->index;
    if (d->child[1]) Convert(type, className, d->child[1], d->child[1]->line, true);
  }
}

void GSAnalyser::Statement(GSNode* n, GSNode* parent) {
  if (!EnterNode()) return;
  n->parent = parent;
  if (n->category == GS_CAT_EXPRESSION) {
    Expr(n, parent);
    LeaveNode();
    return;
  }
  if (n->category == GS_CAT_DECLARATION) {
    if (n->IsDeclaration(GS_DECL_VARIABLES)) LocalVariables(n);
    else InternalError();
    LeaveNode();
    return;
  }
  int line = n->line;
  switch (n->kind) {
    case GS_STMT_RETURN: {
      GSFunctionSymbol* fn = table_.currentFunction;
      ExprList(n->child[0], n);
      if (!fn) break;
      std::string expected = GSTypeText(fn->type, fn->returnClass);
      GSNode* value = n->child[0];
      while (value && value->next) value = value->next;
      if ((value != nullptr) != (fn->type != GS_TYPE_VOID)) {
        Error(line, "return type mismatch, expecting %s, line %d.", expected.c_str(), line);
      } else if (value) {
        Convert(fn->type, fn->returnClass, value, line, true);
      }
      n->resultType = fn->type;
      break;
    }
    case GS_STMT_BREAK:
    case GS_STMT_CONTINUE: {
      bool ok = false;
      for (const Frame& f : frames_)
        ok |= f.kind != GS_STMT_SWITCH || n->kind == GS_STMT_BREAK;
      if (!ok) Error(line, n->kind == GS_STMT_BREAK ? "illegal break, line %d." : "illegal continue, line %d.", line);
      break;
    }
    case GS_STMT_GOTO:
      if (n->child[0]) n->child[0]->parent = n;
      break;  // labels are matched when code is generated
    case GS_STMT_FOR:
      if (n->child[0]) Condition(n->child[0], n, "invalid for expression, line %d.", line);
      ExprList(n->child[1], n);
      ExprList(n->child[3], n);
      frames_.push_back(Frame{GS_STMT_FOR});
      StatementList(n->child[2], n);
      frames_.pop_back();
      break;
    case GS_STMT_WHILE:
      Condition(n->child[0], n, "invalid while expression, line %d.", line);
      frames_.push_back(Frame{GS_STMT_WHILE});
      StatementList(n->child[1], n);
      frames_.pop_back();
      break;
    case GS_STMT_IF:
      Condition(n->child[0], n, "invalid if expression, line %d.", line);
      StatementList(n->child[1], n);
      StatementList(n->child[2], n);
      break;
    case GS_STMT_SWITCH: {
      ExprList(n->child[0], n);
      frames_.push_back(Frame{GS_STMT_SWITCH});
      Statement(n->child[1], n);
      Frame frame = frames_.back();
      frames_.pop_back();
      if (aborted_) break;
      GSNode* e = n->child[0];
      if (!frame.cases) Error(line, "switch statement without case, line %d.", line);
      else if (!frame.defaults) Error(line, "switch statement without default, line %d.", line);
      else if (!e || e->resultType != GS_TYPE_INT) Error(line, "switch expression not integral, line %d.", line);
      break;
    }
    case GS_STMT_CASE:
    case GS_STMT_DEFAULT: {
      Frame* sw = nullptr;
      for (auto it = frames_.rbegin(); it != frames_.rend() && !sw; ++it)
        if (it->kind == GS_STMT_SWITCH) sw = &*it;
      if (n->kind == GS_STMT_CASE) {
        ExprList(n->child[0], n);
        if (!sw) {
          Error(line, "illegal case, line %d.", line);
        } else {
          ++sw->cases;
          GSNode* e = n->child[0];
          if (!e || !e->IsConstant() || e->resultType != GS_TYPE_INT)
            Error(line, "case expression not constant or integral, line %d.", line);
        }
      } else if (!sw) {
        Error(line, "illegal default, line %d.", line);
      } else if (sw->defaults++) {
        Error(line, "switch already has default, line %d.", line);
      }
      break;
    }
    case GS_STMT_LABEL:
      if (n->child[0]) n->child[0]->parent = n;
      break;
    case GS_STMT_COMPOUND: {
      bool scope = !(n->flags & GS_FLAG_FUNCTION_BODY);
      if (scope) table_.EnterScope();
      StatementList(n->child[0], n);
      if (scope) table_.LeaveScope();
      break;
    }
    case GS_STMT_WAIT: {
      frames_.push_back(Frame{GS_STMT_WAIT});
      Statement(n->child[0], n);
      Frame frame = frames_.back();
      frames_.pop_back();
      if (!aborted_ && !frame.ons) Error(line, "wait statement must have at least 1 on statement, line %d.", line);
      break;
    }
    case GS_STMT_ON: {
      for (auto it = frames_.rbegin(); it != frames_.rend(); ++it)
        if (it->kind == GS_STMT_WAIT) {
          ++it->ons;
          break;
        }
      Expr(n->child[0], n);
      Expr(n->child[1], n);
      if (!n->child[0]->IsConstant() || n->child[0]->resultType != GS_TYPE_STRING || !n->child[1]->IsConstant() ||
          n->child[1]->resultType != GS_TYPE_STRING) {
        Error(line, "on statement requires string constant for major and minor message types, line %d", line);
      }
      if (GSNode* m = n->child[2]) {
        Expr(m, n);
        if (m->resultType != GS_TYPE_OBJECT || !(m->flags & GS_FLAG_LVALUE))
          Error(line, "on statement requires object type for third parameter, line %d", line);
      }
      break;
    }
    default:
      InternalError();
  }
  LeaveNode();
}

}  // namespace GSCompiler
