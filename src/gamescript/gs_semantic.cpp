// Semantic pass, class level: classes, base resolution, member and function declarations,
// function bodies; message reporting and the nesting limit.
#include <cstdio>

#include "gamescript/gs_semantic_internal.h"

namespace GSCompiler {

namespace {

constexpr int kMaxDepth = 128;
constexpr uint32_t kClassSpecifiers = GS_SPEC_STATIC | GS_SPEC_FINAL | GS_SPEC_GAME;

// Keeps the analyser's current class while declaring a base class first.
struct CurrentClassScope {
  GSSymbolTable& table;
  GSClassSymbol* saved;
  CurrentClassScope(GSSymbolTable& t, GSClassSymbol* cls) : table(t), saved(t.currentClass) { t.currentClass = cls; }
  ~CurrentClassScope() { table.currentClass = saved; }
};

}  // namespace

GSAnalyser::GSAnalyser(GSSymbolTable& table, const GSSemanticInput& input, GSLog& log)
    : table_(table), pool_(table.Pool()), input_(input), log_(log) {
  inherited_ = pool_.Intern("inherited");
  objectName_ = pool_.Intern("object");
}

int GSAnalyser::Run() {
  if (!table_.currentDependency || !input_.nodes) {
    log_.Message("Internal compiler error.");
    return 1;
  }
  for (GSNode* d = input_.declarations; d; d = d->next)
    if (d->IsDeclaration(GS_DECL_CLASS)) DeclareClass(d);
  for (GSClassSymbol* cls : unitClasses_) ResolveBases(cls);
  for (GSClassSymbol* cls : unitClasses_) DeclareMembers(cls);
  for (GSClassSymbol* cls : unitClasses_) AnalyseClassBodies(cls);
  table_.currentClass = nullptr;
  table_.currentFunction = nullptr;
  if (errors_) {
    char line[256];
    std::snprintf(line, sizeof line, "(%s) %d semantic error(s)", input_.fileName, errors_);
    log_.Message(line);
  }
  return errors_;
}

void GSAnalyser::ErrorV(const char* file, int line, const char* format, va_list args) {
  if (aborted_) return;
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  log_.Error(file, line, text);
  ++errors_;
}

void GSAnalyser::Error(int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  ErrorV(input_.fileName, line, format, args);
  va_end(args);
}

void GSAnalyser::ErrorIn(const char* file, int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  ErrorV(file, line, format, args);
  va_end(args);
}

void GSAnalyser::InternalError() {
  if (aborted_) return;
  log_.Message("Internal compiler error.");
  ++errors_;
}

bool GSAnalyser::EnterNode() {
  if (aborted_) return false;
  if (depth_ >= kMaxDepth) {
    log_.Message("Stack overflow; code nested too deep.");
    ++errors_;
    aborted_ = true;
    return false;
  }
  ++depth_;
  return true;
}

GSClassSymbol* GSAnalyser::FindClass(const char* name) const {
  if (!name) return nullptr;
  GSSymbol* s = table_.Find(name);
  return s && s->kind == GS_SYM_CLASS ? static_cast<GSClassSymbol*>(s) : nullptr;
}

const char* GSAnalyser::Canonical(const char* className) const {
  return className == objectName_ ? nullptr : className;
}

const char* GSAnalyser::ClassNameOf(const GSNode* typeNode) const {
  if (!typeNode || (typeNode->subkind != GS_TYPE_OBJECT && typeNode->subkind != GS_TYPE_OBJECT_ARRAY)) return nullptr;
  if (typeNode->className) return Canonical(typeNode->className);
  return typeNode->child[0] ? Canonical(typeNode->child[0]->value.text) : nullptr;
}

GSVariableSymbol* GSAnalyser::FindMemberVariable(GSClassSymbol* cls, const char* name) const {
  // Own members first, then the bases in `isclass` order, depth first.
  GSVariableSymbol* found = nullptr;
  GSWalkClasses(cls, true, [&](GSClassSymbol* c) {
    GSSymbol* s = c->members.Find(name);
    if (!s || s->kind != GS_SYM_VARIABLE) return GSWalk::Descend;
    found = static_cast<GSVariableSymbol*>(s);
    return GSWalk::Stop;
  });
  return found;
}

bool GSAnalyser::CheckTypeDeclared(const GSNode* typeNode) {
  const char* name = ClassNameOf(typeNode);
  if (!name || input_.includeMode || FindClass(name)) return true;
  Error(typeNode->line, "object<%s> not declared, line %d.", name, typeNode->line);
  return false;
}

void GSAnalyser::DeclareClass(GSNode* decl) {
  const char* name = decl->child[0]->value.text;
  uint32_t specifiers = decl->flags & GS_SPEC_MASK;
  if (specifiers & ~kClassSpecifiers) Error(decl->line, "Class has illegal declaration specifiers, line %d.", decl->line);
  if (table_.Find(name)) {
    Error(decl->line, "Class %s has already been declared, line %d.", name, decl->line);
    return;
  }
  auto* cls = table_.NewSymbol<GSClassSymbol>(name, GS_SYM_CLASS);
  cls->flags = specifiers & kClassSpecifiers;
  cls->members.Init(table_.Memory(), 31);
  cls->fileName = input_.fileName;
  cls->dependency = table_.currentDependency->index;
  cls->declaration = decl;
  GSNameLink** tail = &cls->pendingBases;
  for (GSNode* b = decl->child[1]; b; b = b->next) {
    auto* link = table_.Memory().New<GSNameLink>();
    link->name = b;
    *tail = link;
    tail = &link->next;
  }
  table_.Insert(cls);
  table_.AddClass(cls);
  decl->symbol = cls;
  decl->child[0]->symbol = cls;
  unitClasses_.push_back(cls);
}

void GSAnalyser::ResolveBases(GSClassSymbol* root) {
  // Depth first over the pending base names with an explicit stack: a base is resolved before
  // the class that names it, and a base met again while still open closes a cycle.
  struct Frame {
    GSClassSymbol* cls;
    GSNameLink* link;
    GSClassLink** tail;
  };
  if (root->basesResolved || root->resolving) return;
  std::vector<Frame> stack;
  root->resolving = true;
  stack.push_back(Frame{root, root->pendingBases, &root->bases});
  while (!stack.empty()) {
    Frame& f = stack.back();
    GSClassSymbol* cls = f.cls;
    if (!f.link) {
      cls->pendingBases = nullptr;
      cls->resolving = false;
      cls->basesResolved = true;
      stack.pop_back();
      continue;
    }
    GSNameLink* link = f.link;
    const char* name = link->name->value.text;
    int line = link->name->line;
    GSClassSymbol* base = FindClass(name);
    if (base && !base->basesResolved && !base->resolving) {
      base->resolving = true;
      stack.push_back(Frame{base, base->pendingBases, &base->bases});
      continue;  // this link is looked at again once the base is resolved
    }
    f.link = link->next;
    if (!base) {
      ErrorIn(cls->fileName, line, "Class %s has not been declared, line %d.", name, line);
    } else if (base->flags & GS_SPEC_STATIC) {
      ErrorIn(cls->fileName, line, "Cannot extend static class %s, line %d.", name, line);
    } else if (base->flags & GS_SPEC_FINAL) {
      ErrorIn(cls->fileName, line, "Cannot extend final class %s, line %d.", name, line);
    } else if (base->resolving || cls->DerivesFrom(base)) {
      // A base still open leads back to this class (a resolved base never does: its own
      // resolution would have met this class open); one already reachable would be
      // inherited twice.
      ErrorIn(cls->fileName, line, "Class %s and %s causes cyclic derivation, line %d.", cls->name, name, line);
    } else {
      link->name->symbol = base;
      auto* resolved = table_.Memory().New<GSClassLink>();
      resolved->cls = base;
      *f.tail = resolved;
      f.tail = &resolved->next;
    }
  }
}

void GSAnalyser::DeclareMembers(GSClassSymbol* root) {
  // Bases first (their slots and functions come before the class's own), iteratively.
  struct Frame {
    GSClassSymbol* cls;
    GSClassLink* base;
  };
  if (root->membersDeclared || root->declaring) return;
  std::vector<Frame> stack;
  root->declaring = true;
  stack.push_back(Frame{root, root->bases});
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.base) {
      GSClassSymbol* b = f.base->cls;
      f.base = f.base->next;
      if (!b->membersDeclared && !b->declaring) {
        b->declaring = true;
        stack.push_back(Frame{b, b->bases});
      }
      continue;
    }
    GSClassSymbol* cls = f.cls;
    stack.pop_back();
    DeclareOwnMembers(cls);
    cls->declaring = false;
    cls->membersDeclared = true;
  }
}

void GSAnalyser::DeclareOwnMembers(GSClassSymbol* cls) {
  cls->firstMemberSlot = 0;
  cls->firstFunctionSlot = 0;
  for (GSClassLink* b = cls->bases; b; b = b->next) {
    cls->firstMemberSlot += b->cls->firstMemberSlot + b->cls->memberCount;
    cls->firstFunctionSlot += b->cls->firstFunctionSlot + b->cls->functionCount;
  }
  CurrentClassScope scope(table_, cls);
  for (GSNode* m = cls->declaration->child[2]; m; m = m->next) {
    m->parent = cls->declaration;
    if (m->IsDeclaration(GS_DECL_FUNCTION) || m->IsDeclaration(GS_DECL_PROTOTYPE)) DeclareFunction(cls, m);
    else if (m->IsDeclaration(GS_DECL_VARIABLES)) DeclareMemberVariables(cls, m, true);
  }
}

void GSAnalyser::DeclareFunction(GSClassSymbol* cls, GSNode* decl) {
  int line = decl->line;
  uint32_t specifiers = decl->flags & GS_SPEC_MASK;
  if ((specifiers & (GS_SPEC_STATIC | GS_SPEC_GAME | GS_SPEC_DEFINE)) ||
      ((specifiers & GS_SPEC_NATIVE) && (specifiers & GS_SPEC_THREAD))) {
    Error(line, "Function has illegal declaration specifiers, line %d.", line);
    return;
  }
  GSNode* returnNode = decl->child[0];
  bool declared = CheckTypeDeclared(returnNode);
  int32_t count = ListLength(decl->child[2]);
  auto* params = static_cast<GSParameterType*>(
      table_.Memory().Allocate(sizeof(GSParameterType) * (count ? count : 1), alignof(GSParameterType)));
  int32_t i = 0;
  for (GSNode* p = decl->child[2]; p; p = p->next, ++i) {
    p->parent = decl;
    if (!CheckTypeDeclared(p->child[0])) declared = false;
    params[i] = GSParameterType{p->child[0]->subkind, ClassNameOf(p->child[0])};
  }
  if (!declared) return;
  const char* name = decl->child[1]->value.text;
  int32_t returnType = returnNode->subkind;
  const char* returnClass = ClassNameOf(returnNode);
  const char* key = GSFunctionKey(pool_, name, params, count);

  // The nearest definition along each base path decides whether it may be overridden.
  bool finalBase = GSWalkClasses(cls, false, [key](GSClassSymbol* c) {
    GSSymbol* s = c->members.Find(key);
    if (!s || s->kind != GS_SYM_FUNCTION) return GSWalk::Descend;
    return (s->flags & GS_SPEC_FINAL) ? GSWalk::Stop : GSWalk::Skip;
  });
  if (finalBase) {
    Error(line, "Cannot override final function, line %d.", line);
    return;
  }

  bool isBody = decl->kind == GS_DECL_FUNCTION;
  GSFunctionSymbol* fn = nullptr;
  if (GSSymbol* existing = cls->members.Find(key)) {
    fn = static_cast<GSFunctionSymbol*>(existing);
    if (existing->kind != GS_SYM_FUNCTION || !(existing->flags & GS_SYMFLAG_PROTOTYPE) || !isBody) {
      Error(line, "Function %s already declared, line %d.", key, line);
      return;
    }
    if (fn->type != returnType || fn->returnClass != returnClass) {
      Error(line, "Function differs only by return type, line %d.", line);
      return;
    }
    if ((fn->flags & GS_SPEC_MASK) != specifiers) {
      Error(line, "Function specifiers differ from prototype, line %d.", line);
      return;
    }
    fn->flags &= ~GS_SYMFLAG_PROTOTYPE;
    fn->declaration = decl;
    fn->parameters = params;
  } else {
    fn = table_.NewSymbol<GSFunctionSymbolExt>(key, GS_SYM_FUNCTION);
    fn->type = returnType;
    fn->returnClass = returnClass;
    fn->signature = GSFunctionSignature(pool_, returnType, returnClass, cls->name, name, params, count);
    fn->functionName = name;
    fn->parameterCount = count;
    fn->parameters = params;
    fn->localSlots = count + 1;
    fn->memberOf = cls;
    fn->owner = cls;
    fn->flags = specifiers | (isBody ? 0 : GS_SYMFLAG_PROTOTYPE);
    fn->index = cls->functionCount++;
    fn->level = table_.Level();
    fn->declaration = decl;
    GSFunctionSymbol** tail = &cls->firstFunction;
    while (*tail) tail = &(*tail)->nextFunction;
    *tail = fn;
    cls->members.Insert(fn);
  }
  decl->symbol = fn;
  decl->child[1]->symbol = fn;
  if (specifiers & GS_SPEC_THREAD) {
    cls->flags |= GS_SPEC_GAME;
    if (returnType != GS_TYPE_VOID) Error(line, "thread function must return void, line %d.", line);
  }
}

void GSAnalyser::DeclareMemberVariables(GSClassSymbol* cls, GSNode* decl, bool) {
  uint32_t specifiers = decl->flags & GS_SPEC_MASK;
  if (specifiers & ~(GS_SPEC_PUBLIC | GS_SPEC_DEFINE)) {
    Error(decl->line, "member declaration has invalid specifiers, line %d.", decl->line);
    return;
  }
  int32_t type = decl->child[0]->subkind;
  const char* className = ClassNameOf(decl->child[0]);
  for (GSNode* d = decl->child[1]; d; d = d->next) {
    d->parent = decl;
    const char* name = d->child[0]->value.text;
    if (cls->members.Find(name)) {
      Error(d->line, "Variable %s already declared in this scope, line %d.", name, d->line);
      continue;
    }
    auto* var = table_.NewSymbol<GSVariableSymbol>(name, GS_SYM_VARIABLE);
    var->type = type;
    var->className = className;
    var->flags = specifiers;
    var->memberOf = cls;
    var->owner = cls;
    var->level = table_.Level();
    var->declaration = d;
    if (!(specifiers & GS_SPEC_DEFINE)) var->index = cls->memberCount++;
    cls->members.Insert(var);
    GSVariableSymbol** tail = &cls->firstVariable;
    while (*tail) tail = reinterpret_cast<GSVariableSymbol**>(&(*tail)->scopeNext);
    *tail = var;
    d->symbol = var;
    d->child[0]->symbol = var;
    d->slot = var->index;
    if (!(specifiers & GS_SPEC_DEFINE)) continue;

    // A define is a named constant: its value replaces every later use.
    GSNode* init = d->child[1];
    if (init) Expr(init, d);
    if (!init || !init->IsConstant()) {
      Error(d->line, "define variable must have a const assignment, line %d.", d->line);
      continue;
    }
    Convert(type, className, init, init->line, true);
    GSValue value{};
    if (type == GS_TYPE_STRING) {
      value.text = init->subkind == GS_CONST_STRING ? init->value.text : pool_.Empty();
    } else if (type == GS_TYPE_FLOAT) {
      value.f = init->subkind == GS_CONST_FLOAT ? init->value.f : static_cast<float>(init->value.i);
    } else if (type == GS_TYPE_INT || type == GS_TYPE_BOOL) {
      if (init->subkind == GS_CONST_FLOAT) {
        float f = init->value.f;
        value.i = (f > -2147483648.0f && f < 2147483648.0f) ? static_cast<int32_t>(f) : 0;
      } else if (init->subkind != GS_CONST_STRING) {
        value.i = init->value.i;
      }
      if (type == GS_TYPE_BOOL) value.i = value.i != 0;
    }
    var->defineValue = value;
  }
}

void GSAnalyser::AnalyseClassBodies(GSClassSymbol* cls) {
  table_.currentClass = cls;
  table_.EnterScope();
  for (GSNode* m = cls->declaration->child[2]; m && !aborted_; m = m->next) {
    if (m->IsDeclaration(GS_DECL_VARIABLES) && !(m->flags & GS_SPEC_DEFINE)) {
      for (GSNode* d = m->child[1]; d; d = d->next) {
        if (!d->child[1] || !d->symbol) continue;
        Expr(d->child[1], d);
        auto* var = static_cast<GSVariableSymbol*>(d->symbol);
        Convert(var->type, var->className, d->child[1], d->child[1]->line, true);
      }
    } else if (m->IsDeclaration(GS_DECL_FUNCTION) && m->symbol &&
               static_cast<GSSymbol*>(m->symbol)->declaration == m) {
      AnalyseFunctionBody(m);
    }
  }
  table_.LeaveScope();
  table_.currentClass = nullptr;
}

void GSAnalyser::AnalyseFunctionBody(GSNode* decl) {
  auto* fn = static_cast<GSFunctionSymbol*>(decl->symbol);
  table_.currentFunction = fn;
  table_.EnterScope();
  int32_t slot = 1;
  for (GSNode* p = decl->child[2]; p; p = p->next, ++slot) {
    const char* name = p->child[1]->value.text;
    if (table_.FindInCurrentScope(name)) {
      Error(p->line, "Variable %s already declared in this scope, line %d.", name, p->line);
      continue;
    }
    auto* var = table_.NewSymbol<GSVariableSymbol>(name, GS_SYM_VARIABLE);
    var->type = p->child[0]->subkind;
    var->className = ClassNameOf(p->child[0]);
    var->index = slot;
    var->isParameter = true;
    var->declaration = p;
    table_.Insert(var);
    p->symbol = var;
    p->child[1]->symbol = var;
    p->slot = slot;
  }
  fn->localSlots = fn->parameterCount + 1;

  // The body shares the function's scope with the parameters.
  GSNode* body = decl->child[3];
  body->parent = decl;
  StatementList(body->child[0], body);
  if (!aborted_) {
    GSNode* last = body->child[0];
    while (last && last->next) last = last->next;
    if (!last || !last->IsStatement(GS_STMT_RETURN)) {
      if (fn->type != GS_TYPE_VOID) {
        Error(body->line, "expecting return type of %s, line %d.", GSTypeText(fn->type, fn->returnClass).c_str(),
              body->line);
      } else {
        GSNode* ret = NewNode(*input_.nodes, GS_CAT_STATEMENT, GS_STMT_RETURN, body->line);
        ret->flags |= GS_FLAG_IMPLICIT_RETURN;
        ret->parent = body;
        ret->resultType = GS_TYPE_VOID;
        if (last) last->next = ret;
        else body->child[0] = ret;
      }
    }
  }
  table_.LeaveScope();
  table_.currentFunction = nullptr;
}

int GSAnalyse(GSSymbolTable& table, const GSSemanticInput& input, GSLog& log) {
  GSAnalyser analyser(table, input, log);
  return analyser.Run();
}

}  // namespace GSCompiler
