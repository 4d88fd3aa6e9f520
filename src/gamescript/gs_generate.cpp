// Generation of the library model: the tables of every known class and function, and for each
// class of the main unit its compiled functions, initialiser, members, dispatch table and layout.
#include "gamescript/gs_generate.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "gamescript/gs_class_layout.h"
#include "gamescript/gs_codegen.h"

namespace GSCompiler {

namespace {

constexpr int kMaxDepth = 10000;  // derivation chains deeper than this are refused

int32_t ClassNumberOf(GSSymbolTable& table, const char* className) {
  if (!className) return -1;
  GSSymbol* s = table.Find(className);
  return s && s->kind == GS_SYM_CLASS ? s->index : -1;
}

int32_t DispatchSlot(const GSFunctionSymbol* fn) {
  if (!fn->memberOf) return -1;
  return static_cast<int16_t>(fn->memberOf->firstFunctionSlot + fn->index);  // a 16-bit slot, sign widened
}

struct Slot {
  const GSClassSymbol* cls;
  const GSFunctionSymbol* fn;
};

using DispatchCache = std::unordered_map<const GSClassSymbol*, std::vector<Slot>>;

// Bases first (each with its own overrides applied), then the class's own functions; an own
// function replaces every inherited slot with the same lookup key. Tables are kept per class,
// so a long derivation chain is walked once.
const std::vector<Slot>* BuildDispatch(const GSClassSymbol* cls, DispatchCache& cache, GSLog& log, int depth) {
  if (auto it = cache.find(cls); it != cache.end()) return &it->second;
  if (depth > kMaxDepth) {
    log.Message("Compiler error GEC");
    return nullptr;
  }
  std::vector<Slot> out;
  for (const GSClassLink* b = cls->bases; b; b = b->next) {
    const std::vector<Slot>* base = BuildDispatch(b->cls, cache, log, depth + 1);
    if (!base) return nullptr;
    out.insert(out.end(), base->begin(), base->end());
  }
  std::unordered_map<const char*, std::vector<size_t>> inherited;  // lookup key -> slots
  for (size_t i = 0; i < out.size(); ++i) inherited[out[i].fn->name].push_back(i);
  for (const GSFunctionSymbol* fn = cls->firstFunction; fn; fn = fn->nextFunction) {
    if (auto it = inherited.find(fn->name); it != inherited.end()) {
      for (size_t i : it->second) {
        if (out[i].fn->type != fn->type || out[i].fn->returnClass != fn->returnClass) {
          log.Message(("Wrong return type on function: " + std::string(fn->signature ? fn->signature : "")).c_str());
          return nullptr;
        }
        out[i] = {cls, fn};
      }
    }
    out.push_back({cls, fn});
  }
  return &cache.emplace(cls, std::move(out)).first->second;
}

bool GenerateClass(GSCompilerContext& ctx, GSClassSymbol* cls, GSLog& log, DispatchCache& cache, GSCClass& c) {
  GSSymbolTable& table = ctx.symbols;
  c.symbol = cls;
  c.name = cls->name;
  c.class_number = static_cast<uint32_t>(cls->index);
  c.flags = cls->flags;
  c.bases = ResolvedBases(cls);
  c.member_slots = static_cast<uint32_t>(MemberSlotCount(cls));
  ctx.strings.Intern(c.name);

  for (GSFunctionSymbol* fn = cls->firstFunction; fn; fn = fn->nextFunction) {
    GSNode* decl = fn->declaration;
    if (!decl || decl->kind != GS_DECL_FUNCTION || (fn->flags & GS_SPEC_NATIVE)) continue;  // no body here
    GSCFunction& f = c.functions.emplace_back();
    f.symbol = fn;
    f.signature = fn->signature ? fn->signature : "";
    f.return_type = static_cast<uint32_t>(fn->type);
    f.return_class = ClassNumberOf(table, fn->returnClass);
    f.flags = fn->flags;
    f.dispatch_slot = DispatchSlot(fn);
    f.parameters = 1 + fn->parameterCount;
    f.locals = static_cast<GSFunctionSymbolExt*>(fn)->localCount;
    ctx.strings.Intern(f.signature);
    GSFunctionCompiler compiler(f, cls, table, ctx.strings, log, cls->fileName);
    if (!compiler.CompileBody(decl->child[3])) return false;
  }

  GSCFunction& init = c.initialiser;
  init.initialiser = true;
  init.signature = "::" + c.name + "()";
  init.extra_slots = static_cast<int32_t>(c.member_slots);
  ctx.strings.Intern(init.signature);
  GSFunctionCompiler compiler(init, cls, table, ctx.strings, log, cls->fileName);
  if (!compiler.CompileInitialiser()) return false;

  for (GSVariableSymbol* var = cls->firstVariable; var; var = static_cast<GSVariableSymbol*>(var->scopeNext)) {
    if (var->flags & GS_SPEC_DEFINE) continue;
    const int32_t slot = cls->firstMemberSlot + var->index;
    c.members.push_back({var->name, static_cast<uint32_t>(var->type), ClassNumberOf(table, var->className),
                         (var->flags & GS_SPEC_PUBLIC) != 0, slot});
    ctx.strings.Intern(var->name);
    if (IsReferenceType(var->type)) c.reference_slots.push_back(slot);
  }

  const std::vector<Slot>* slots = BuildDispatch(cls, cache, log, 0);
  if (!slots) return false;
  for (const Slot& s : *slots)
    c.dispatch.push_back({static_cast<uint32_t>(s.cls->index), static_cast<uint32_t>(s.fn->index)});
  return true;
}

}  // namespace

bool Generate(GSCompilerContext& ctx, GSLog& log, GSCLibrary& library) {
  GSSymbolTable& table = ctx.symbols;
  for (const auto& unit : ctx.units) library.dependencies.push_back({unit->sourceCrc, unit->fileNameCrc});

  DispatchCache cache;
  for (int32_t n = 0; n < table.ClassCount(); ++n) {
    GSClassSymbol* cls = table.ClassAt(n);
    if (cls->dependency == 0) {
      GSCClass& c = ctx.classes.emplace_back();
      if (!GenerateClass(ctx, cls, log, cache, c)) return false;
    }
  }
  for (int32_t n = 0; n < table.ClassCount(); ++n) {
    GSClassSymbol* cls = table.ClassAt(n);
    library.classes.push_back({static_cast<uint32_t>(cls->dependency), cls->name});
    for (GSFunctionSymbol* fn = cls->firstFunction; fn; fn = fn->nextFunction) {
      static_cast<GSFunctionSymbolExt*>(fn)->functionNumber = ctx.functionCount++;
      library.functions.push_back({static_cast<uint32_t>(n), fn->signature ? fn->signature : "", DispatchSlot(fn)});
    }
  }
  ctx.classCount = table.ClassCount();
  library.compiled = std::move(ctx.classes);
  ctx.classes.clear();
  return true;
}

}  // namespace GSCompiler
