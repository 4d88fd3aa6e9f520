// Symbol table: name hash, scope stack, class registry, signature names.
#include "gamescript/gs_symbols.h"

#include <cstring>
#include <deque>

namespace GSCompiler {

namespace {

uint32_t BucketOf(const char* name, int32_t buckets) {
  // Names are pooled: one text, one pointer, so the pointer itself is the hash key.
  return static_cast<uint32_t>((reinterpret_cast<uintptr_t>(name) >> 3) % static_cast<uint32_t>(buckets));
}

}  // namespace

void GSSymbolHash::Init(Utils::BlockMemory& memory, int32_t buckets) {
  bucketCount_ = buckets;
  buckets_ = static_cast<GSSymbol**>(memory.Allocate(sizeof(GSSymbol*) * buckets, alignof(GSSymbol*)));
  for (int32_t i = 0; i < buckets; ++i) buckets_[i] = nullptr;
}

GSSymbol* GSSymbolHash::Find(const char* pooledName) const {
  if (!bucketCount_ || !pooledName) return nullptr;
  for (GSSymbol* s = buckets_[BucketOf(pooledName, bucketCount_)]; s; s = s->hashNext)
    if (s->name == pooledName) return s;
  return nullptr;
}

void GSSymbolHash::Insert(GSSymbol* symbol) {
  GSSymbol*& head = buckets_[BucketOf(symbol->name, bucketCount_)];
  symbol->hashNext = head;  // newest first: inner scopes shadow outer ones
  head = symbol;
}

void GSSymbolHash::Remove(GSSymbol* symbol) {
  for (GSSymbol** p = &buckets_[BucketOf(symbol->name, bucketCount_)]; *p; p = &(*p)->hashNext) {
    if (*p == symbol) {
      *p = symbol->hashNext;
      symbol->hashNext = nullptr;
      return;
    }
  }
}

namespace detail {

uint32_t NextClassMark() {
  thread_local uint32_t epoch = 0;
  return ++epoch;
}

std::vector<GSClassSymbol*>& ClassWalkStack(size_t depth) {
  thread_local std::deque<std::vector<GSClassSymbol*>> stacks;  // growing keeps references valid
  if (stacks.size() <= depth) stacks.resize(depth + 1);
  return stacks[depth];
}

}  // namespace detail

bool GSClassSymbol::DerivesFrom(const GSClassSymbol* other) const {
  if (this == other) return true;
  return GSWalkClasses(const_cast<GSClassSymbol*>(this), false,
                       [other](GSClassSymbol* c) { return c == other ? GSWalk::Stop : GSWalk::Descend; });
}

GSSymbolTable::GSSymbolTable(GSStringPool& pool) : pool_(pool), memory_(64 * 1024) { Reset(); }

void GSSymbolTable::Reset() {
  memory_.Reset();
  hash_.Init(memory_, kBuckets);
  for (auto& l : levels_) l = nullptr;
  level_ = 0;
  ignoredEnters_ = 0;
  classes_.clear();
  currentDependency = nullptr;
  currentClass = nullptr;
  currentFunction = nullptr;
}

void GSSymbolTable::EnterScope() {
  if (level_ >= kMaxLevels - 1) {
    ++ignoredEnters_;
    return;
  }
  levels_[++level_] = nullptr;
}

void GSSymbolTable::LeaveScope() {
  if (ignoredEnters_ > 0) {
    --ignoredEnters_;
    return;
  }
  if (level_ == 0) return;
  for (GSSymbol* s = levels_[level_]; s; s = s->scopeNext) hash_.Remove(s);
  levels_[level_--] = nullptr;
}

GSSymbol* GSSymbolTable::Find(const char* name) const { return hash_.Find(name); }

GSSymbol* GSSymbolTable::FindInCurrentScope(const char* pooledName) const {
  // The hash holds the innermost symbol of a name first; older ones lie at lower levels.
  GSSymbol* s = hash_.Find(pooledName);
  return s && s->level == level_ ? s : nullptr;
}

bool GSSymbolTable::Insert(GSSymbol* symbol) {
  if (FindInCurrentScope(symbol->name)) return false;
  symbol->level = level_;
  symbol->owner = this;
  symbol->scopeNext = levels_[level_];
  levels_[level_] = symbol;
  hash_.Insert(symbol);
  return true;
}

GSDependentSymbol* GSSymbolTable::InsertDependency(std::string_view fileName, uint32_t sourceCrc,
                                                   uint32_t fileNameCrc, int32_t index) {
  const char* name = pool_.Intern(fileName);
  if (hash_.Find(name)) return nullptr;
  auto* dep = NewSymbol<GSDependentSymbol>(name, GS_SYM_DEPENDENCY);
  dep->sourceCrc = sourceCrc;
  dep->fileNameCrc = fileNameCrc;
  dep->index = index;
  // Units live in the outermost scope whatever the current level.
  dep->level = 0;
  dep->owner = this;
  dep->scopeNext = levels_[0];
  levels_[0] = dep;
  hash_.Insert(dep);
  return dep;
}

void GSSymbolTable::AddClass(GSClassSymbol* cls) {
  cls->index = static_cast<int32_t>(classes_.size());
  classes_.push_back(cls);
}

std::string GSTypeText(int32_t type, const char* className) {
  if (className && (type == GS_TYPE_OBJECT || type == GS_TYPE_OBJECT_ARRAY))
    return type == GS_TYPE_OBJECT_ARRAY ? std::string(className) + "[]" : std::string(className);
  return GSTypeName(type);
}

namespace {

void AppendParameters(std::string& out, const GSParameterType* params, int32_t count) {
  out += '(';
  for (int32_t i = 0; i < count; ++i) {
    if (i) out += ',';
    out += GSTypeText(params[i].type, params[i].className);
  }
  out += ')';
}

}  // namespace

const char* GSFunctionSignature(GSStringPool& pool, int32_t returnType, const char* returnClass,
                                const char* className, const char* name, const GSParameterType* params,
                                int32_t count) {
  std::string out = "$" + GSTypeText(returnType, returnClass) + "@" + (className ? className : "") + "::" + name;
  AppendParameters(out, params, count);
  return pool.Intern(out);
}

const char* GSFunctionKey(GSStringPool& pool, const char* name, const GSParameterType* params, int32_t count) {
  std::string out = std::string("::") + name;
  AppendParameters(out, params, count);
  return pool.Intern(out);
}

}  // namespace GSCompiler
