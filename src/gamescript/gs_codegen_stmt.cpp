// Statements, jumps and their fix-ups, the switch and wait tables, and the two entry points
// (function body, member initialiser).
#include <algorithm>

#include "gamescript/gs_class_layout.h"
#include "gamescript/gs_codegen.h"
#include "gamescript/gs_opcodes.h"

namespace GSCompiler {

int32_t GSFunctionCompiler::ValueList(GSNode* first) {
  GSNode* n = first;
  for (; n && n->next; n = n->next) Expr(n, false);
  if (!n) return Fail("Compiler error GEC"), GS_TYPE_NONE;
  Value(n);
  return n->resultType;
}

void GSFunctionCompiler::DiscardList(GSNode* first) {
  for (GSNode* n = first; n; n = n->next) Expr(n, false);
}

void GSFunctionCompiler::Statements(GSNode* first) {
  for (GSNode* n = first; n && !failed_; n = n->next) Statement(n);
}

void GSFunctionCompiler::Statement(GSNode* n) {
  if (n->line > 0) line_ = n->line;
  if (n->category == GS_CAT_EXPRESSION) return Expr(n, false);
  if (n->category == GS_CAT_DECLARATION) {
    if (n->IsDeclaration(GS_DECL_VARIABLES)) return Locals(n);
    return (void)Fail("Compiler error GEC");
  }
  switch (n->kind) {
    case GS_STMT_RETURN: return Return(n);
    case GS_STMT_BREAK: case GS_STMT_CONTINUE: return Branch(n->kind, n->line);
    case GS_STMT_GOTO: {
      size_t at = Jump(OP_JUMP);
      gotos_.push_back({at, n->child[0] && n->child[0]->value.text ? n->child[0]->value.text : "", n->line});
      return;
    }
    case GS_STMT_FOR: return For(n);
    case GS_STMT_WHILE: return While(n);
    case GS_STMT_SWITCH: return Switch(n);
    case GS_STMT_IF: return If(n);
    case GS_STMT_DEFAULT: case GS_STMT_CASE: labelOffsets_[n] = Here(); return;
    case GS_STMT_LABEL:
      labels_[n->child[0] && n->child[0]->value.text ? n->child[0]->value.text : ""] = Here();
      return;
    case GS_STMT_COMPOUND: return Statements(n->child[0]);
    case GS_STMT_WAIT: return Wait(n);
    case GS_STMT_ON:
      labelOffsets_[n] = Here();
      if (GSNode* target = n->child[2]) {
        // A handler with a message variable starts with the message object on the stack.
        if (target->IsExpression(GS_EXPR_IDENTIFIER)) {
          Assign(target, [&] { Depth(1); }, false);
        } else {
          // Other l-values push their object first: park the message in an extra slot.
          const int32_t slot = out_.parameters + out_.locals + out_.extra_slots++;
          Depth(1);
          OpI16(OP_STORE_LOCAL_R, slot);
          Assign(target, [&] { OpI16(OP_LOAD_LOCAL_R, slot); }, false);
        }
      }
      return;
    default: Fail("Compiler error GEC");
  }
}

void GSFunctionCompiler::Locals(GSNode* decl) {
  for (GSNode* d = decl->child[1]; d; d = d->next) {
    auto* var = static_cast<GSVariableSymbol*>(d->symbol);
    if (!var) return (void)Fail("Compiler error GEC");
    const bool r = IsReferenceType(var->type);
    if (r) out_.reference_slots.push_back(var->index);
    if (GSNode* init = d->child[1]) {
      if (init->line > 0) line_ = init->line;
      Value(init);
      Convert(init->resultType, var->type);
      if (var->type == GS_TYPE_STRING) Op(OP_STRING_COPY);
      OpI16(r ? OP_STORE_LOCAL_R : OP_STORE_LOCAL_V, var->index);
    }
  }
}

void GSFunctionCompiler::If(GSNode* n) {
  ToBool(ValueList(n->child[0]));
  size_t skip = Jump(OP_JUMP_FALSE);
  if (n->child[1]) Statements(n->child[1]);
  if (n->child[2]) {
    size_t over = Jump(OP_JUMP);
    PatchI32(skip, static_cast<int32_t>(Here()));
    Statements(n->child[2]);
    PatchI32(over, static_cast<int32_t>(Here()));
  } else {
    PatchI32(skip, static_cast<int32_t>(Here()));
  }
}

void GSFunctionCompiler::While(GSNode* n) {
  const size_t top = Here();
  Op(OP_LOOP);
  ToBool(ValueList(n->child[0]));
  size_t exit = Jump(OP_JUMP_FALSE);
  targets_.push_back({true, top, true, {}, {}});
  if (n->child[1]) Statements(n->child[1]);
  PatchI32(Jump(OP_JUMP), static_cast<int32_t>(top));
  Target t = std::move(targets_.back());
  targets_.pop_back();
  const int32_t end = static_cast<int32_t>(Here());
  PatchI32(exit, end);
  for (size_t at : t.breaks) PatchI32(at, end);
  for (size_t at : t.continues) PatchI32(at, static_cast<int32_t>(top));
}

void GSFunctionCompiler::For(GSNode* n) {
  DiscardList(n->child[0]);
  const size_t top = Here();
  Op(OP_LOOP);
  size_t exit = SIZE_MAX;
  if (n->child[1]) {
    ToBool(ValueList(n->child[1]));
    exit = Jump(OP_JUMP_FALSE);
  }
  targets_.push_back({true, 0, false, {}, {}});
  if (n->child[2]) Statements(n->child[2]);
  const int32_t step = static_cast<int32_t>(Here());
  DiscardList(n->child[3]);
  PatchI32(Jump(OP_JUMP), static_cast<int32_t>(top));
  Target t = std::move(targets_.back());
  targets_.pop_back();
  const int32_t end = static_cast<int32_t>(Here());
  if (exit != SIZE_MAX) PatchI32(exit, end);
  for (size_t at : t.breaks) PatchI32(at, end);
  for (size_t at : t.continues) PatchI32(at, step);
}

void GSFunctionCompiler::CollectLabels(GSNode* first, int32_t kind, int32_t skip, std::vector<GSNode*>& found,
                                       GSNode** def) {
  for (GSNode* n = first; n; n = n->next) {
    if (n->category != GS_CAT_STATEMENT || n->kind == skip) continue;
    if (n->kind == kind) found.push_back(n);
    if (def && n->kind == GS_STMT_DEFAULT && !*def) *def = n;
    switch (n->kind) {
      case GS_STMT_COMPOUND: CollectLabels(n->child[0], kind, skip, found, def); break;
      case GS_STMT_IF:
      case GS_STMT_WHILE:
      case GS_STMT_FOR:
        for (GSNode* c : {n->child[1], n->child[2]})
          if (c && c->category == GS_CAT_STATEMENT) CollectLabels(c, kind, skip, found, def);
        break;
      default: break;
    }
  }
}

void GSFunctionCompiler::Switch(GSNode* n) {
  Value(n->child[0]);
  GSNode* body = n->child[1];
  std::vector<GSNode*> cases;
  GSNode* def = nullptr;
  CollectLabels(body ? body->child[0] : nullptr, GS_STMT_CASE, GS_STMT_SWITCH, cases, &def);
  if (cases.size() > 32767) return (void)Fail("Compiler error GEOUM");
  Op(OP_SWITCH);
  PutI16(static_cast<int32_t>(cases.size()));
  const size_t table = Here();
  for (size_t i = 0; i < 2 * cases.size() + 1; ++i) PutI32(-1);  // filled in after the body
  targets_.push_back({false, 0, false, {}, {}});
  if (body) Statement(body);
  Target t = std::move(targets_.back());
  targets_.pop_back();
  const int32_t end = static_cast<int32_t>(Here());
  for (size_t at : t.breaks) PatchI32(at, end);
  if (failed_) return;

  std::vector<std::pair<int32_t, GSNode*>> sorted;
  for (GSNode* c : cases) {
    if (!c->child[0] || !c->child[0]->IsConstant()) return (void)Fail("Compiler error GEC");
    sorted.push_back({c->child[0]->value.i, c});
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].first == sorted[i - 1].first) {
      GSNode* dup = sorted[i].second->line >= sorted[i - 1].second->line ? sorted[i].second : sorted[i - 1].second;
      char text[64];
      std::snprintf(text, sizeof text, "case has duplicate value, line %d", dup->line);
      log_.Error(fileName_, dup->line, text);
      failed_ = true;
      return;
    }
  }
  const size_t c = sorted.size();
  for (size_t i = 0; i < c; ++i) {
    PatchI32(table + 4 * i, sorted[i].first);
    PatchI32(table + 4 * (c + i), static_cast<int32_t>(labelOffsets_[sorted[i].second]));
  }
  PatchI32(table + 8 * c, def ? static_cast<int32_t>(labelOffsets_[def]) : end);
}

void GSFunctionCompiler::Wait(GSNode* n) {
  GSNode* body = n->child[0];
  std::vector<GSNode*> handlers;
  CollectLabels(body ? body->child[0] : nullptr, GS_STMT_ON, GS_STMT_WAIT, handlers, nullptr);
  if (handlers.size() > 32767) return (void)Fail("Compiler error GEOUM");
  const size_t start = Here();
  Op(OP_WAIT);
  PutI16(static_cast<int32_t>(handlers.size()));
  for (GSNode* h : handlers) {
    for (GSNode* type : {h->child[0], h->child[1]}) {
      uint32_t id = strings_.Intern(type && type->value.text ? type->value.text : "");
      if (id > 32767) return (void)Fail("Compiler error GEOUM");
      PutI16(static_cast<int32_t>(id));
    }
  }
  const size_t offsets = Here();
  for (size_t i = 0; i < handlers.size(); ++i) PutI32(-1);
  targets_.push_back({true, start, true, {}, {}});
  if (body) Statement(body);
  Target t = std::move(targets_.back());
  targets_.pop_back();
  const int32_t end = static_cast<int32_t>(Here());
  for (size_t at : t.breaks) PatchI32(at, end);
  for (size_t at : t.continues) PatchI32(at, static_cast<int32_t>(start));
  for (size_t i = 0; i < handlers.size(); ++i) PatchI32(offsets + 4 * i, static_cast<int32_t>(labelOffsets_[handlers[i]]));
}

void GSFunctionCompiler::Return(GSNode* n) {
  if (GSNode* value = n->child[0]) {
    Value(value);
    const int32_t type = fn_ ? fn_->type : value->resultType;
    Convert(value->resultType, type);
    Op(IsReferenceType(type) ? OP_RETURN_R : OP_RETURN_V);
  } else {
    Op(OP_RETURN);
  }
}

void GSFunctionCompiler::Branch(int kind, int) {
  for (auto it = targets_.rbegin(); it != targets_.rend(); ++it) {
    if (kind == GS_STMT_CONTINUE && !it->loop) continue;
    if (kind == GS_STMT_CONTINUE && it->continueKnown) return PatchI32(Jump(OP_JUMP), static_cast<int32_t>(it->continueAt));
    (kind == GS_STMT_BREAK ? it->breaks : it->continues).push_back(Jump(OP_JUMP));
    return;
  }
  Fail("Compiler error GEC");
}

bool GSFunctionCompiler::ResolveGotos() {
  for (const Fixup& f : gotos_) {
    auto it = labels_.find(f.label);
    if (it == labels_.end()) return Fail("no matching label");
    PatchI32(f.at, static_cast<int32_t>(it->second));
  }
  return true;
}

bool GSFunctionCompiler::CompileBody(GSNode* body) {
  fn_ = static_cast<GSFunctionSymbol*>(out_.symbol);
  if (!body) return Fail("Compiler error GEC");
  line_ = body->line;
  Statements(body->child[0]);
  if (!failed_) ResolveGotos();
  return !failed_;
}

bool GSFunctionCompiler::CompileInitialiser() {
  for (GSVariableSymbol* var = cls_->firstVariable; var && !failed_;
       var = static_cast<GSVariableSymbol*>(var->scopeNext)) {
    if ((var->flags & GS_SPEC_DEFINE) || !var->declaration || !var->declaration->child[1]) continue;
    GSNode* init = var->declaration->child[1];
    line_ = init->line;
    Value(init);
    Convert(init->resultType, var->type);
    if (var->type == GS_TYPE_STRING) Op(OP_STRING_COPY);
    OpI16(IsReferenceType(var->type) ? OP_STORE_MEMBER_R : OP_STORE_MEMBER_V, MemberSlotIn(cls_, var));
  }
  Op(OP_RETURN);
  return !failed_;
}

}  // namespace GSCompiler
