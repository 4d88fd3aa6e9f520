// Symbols of the GameScript compiler (units, variables, functions, classes) and the symbol
// table with its scope stack. Records live in block memory and are dropped in bulk.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gamescript/gs_block_memory.h"
#include "gamescript/gs_node.h"
#include "gamescript/gs_string_pool.h"

namespace GSCompiler {

enum GSSymbolKind : int32_t {
  GS_SYM_DEPENDENCY = 1,
  GS_SYM_VARIABLE = 2,
  GS_SYM_FUNCTION = 3,
  GS_SYM_CLASS = 4,
};

// Symbol flag: a function declared by a prototype whose body has not been seen yet.
constexpr uint32_t GS_SYMFLAG_PROTOTYPE = 0x2000000;

class GSClassSymbol;

class GSSymbol {
 public:
  const char* name = nullptr;  // pooled text (for functions: the lookup key)
  int32_t index = -1;          // member/local slot, parameter number, class number, unit number
  int32_t type = GS_TYPE_NONE; // variables: declared type; functions: return type
  int32_t level = 0;           // scope level at which it was declared
  uint32_t flags = 0;          // declaration specifiers plus GS_SYMFLAG_PROTOTYPE
  GSValue defineValue{};       // constant of a `define` member
  int32_t kind = 0;            // GSSymbolKind
  GSSymbol* scopeNext = nullptr;  // next symbol declared at the same scope level
  void* owner = nullptr;          // GSSymbolTable or GSClassSymbol holding it
  GSSymbol* hashNext = nullptr;   // next symbol in the same hash bucket
  GSNode* declaration = nullptr;  // declaring node (class, function, declarator, parameter)
};

class GSDependentSymbol : public GSSymbol {
 public:
  uint32_t sourceCrc = 0;
  uint32_t fileNameCrc = 0;
};

class GSVariableSymbol : public GSSymbol {
 public:
  const char* className = nullptr;  // object and object-array types; nullptr otherwise
  GSClassSymbol* memberOf = nullptr;  // class for member variables, nullptr for locals/parameters
  bool isParameter = false;
};

// One parameter of a function: type code and class name.
struct GSParameterType {
  int32_t type;
  const char* className;
};

class GSFunctionSymbol : public GSSymbol {
 public:
  const char* returnClass = nullptr;   // class name of an object / object-array return
  const char* signature = nullptr;     // "$int@Cls::f(int,Foo)"
  const char* functionName = nullptr;  // plain name ("f")
  int32_t parameterCount = 0;
  int32_t localSlots = 0;              // next free local slot (parameters take 1..n)
  GSParameterType* parameters = nullptr;
  GSClassSymbol* memberOf = nullptr;
  GSFunctionSymbol* nextFunction = nullptr;  // next function of the class, declaration order
};

// Function symbol with the numbers code generation assigns.
class GSFunctionSymbolExt : public GSFunctionSymbol {
 public:
  int32_t functionNumber = -1;
  int32_t localCount = 0;  // local variables declared in the body
};

// An intrusive hash table of symbols by pooled name (identity compare).
class GSSymbolHash {
 public:
  void Init(Utils::BlockMemory& memory, int32_t buckets);
  GSSymbol* Find(const char* pooledName) const;
  void Insert(GSSymbol* symbol);
  void Remove(GSSymbol* symbol);
  int32_t BucketCount() const { return bucketCount_; }

 private:
  GSSymbol** buckets_ = nullptr;
  int32_t bucketCount_ = 0;
};

struct GSClassLink {
  GSClassSymbol* cls;
  GSClassLink* next;
};

struct GSNameLink {
  GSNode* name;  // a name node of the `isclass` list
  GSNameLink* next;
};

class GSClassSymbol : public GSSymbol {
 public:
  GSSymbolHash members;                  // member variables by name, functions by lookup key
  GSNameLink* pendingBases = nullptr;    // base names not resolved yet
  GSClassLink* bases = nullptr;          // resolved direct bases, in `isclass` order
  int32_t firstFunctionSlot = 0;         // slot of its first own function (after the bases')
  int32_t firstMemberSlot = 0;           // slot of its first own member (after the bases')
  int32_t memberCount = 0;               // own member variables with a slot
  int32_t functionCount = 0;             // own functions
  GSVariableSymbol* firstVariable = nullptr;  // own members in declaration order (via scopeNext)
  GSFunctionSymbol* firstFunction = nullptr;  // own functions in declaration order
  const char* fileName = nullptr;        // unit that declared it
  int32_t dependency = 0;                // index of that unit
  bool basesResolved = false;
  bool resolving = false;
  bool membersDeclared = false;
  bool declaring = false;
  mutable uint32_t visitMark = 0;        // scratch mark for derivation walks

  // True if `other` is this class or one of its bases (direct or indirect).
  bool DerivesFrom(const GSClassSymbol* other) const;
};

enum class GSWalk { Descend, Skip, Stop };

// Visits `start` (when `withStart`) and its bases depth first, each base list in `isclass`
// order, every class at most once; `visit` steers the walk. Iterative: inheritance chains of
// any length use no native stack. Returns true if a visit answered Stop.
template <typename Visit>
bool GSWalkClasses(GSClassSymbol* start, bool withStart, Visit visit);

namespace detail {
uint32_t NextClassMark();
std::vector<GSClassSymbol*>& ClassWalkStack(size_t depth);
}  // namespace detail

template <typename Visit>
bool GSWalkClasses(GSClassSymbol* start, bool withStart, Visit visit) {
  static thread_local size_t depth = 0;  // nested walks get their own stack
  std::vector<GSClassSymbol*>& work = detail::ClassWalkStack(depth);
  struct Nest {
    size_t& d;
    explicit Nest(size_t& d) : d(++d) {}
    ~Nest() { --d; }
  } nest(depth);
  uint32_t mark = detail::NextClassMark();
  work.clear();
  auto pushBases = [&](GSClassSymbol* c) {
    size_t at = work.size();
    for (GSClassLink* b = c->bases; b; b = b->next)
      if (b->cls->visitMark != mark) work.push_back(b->cls);
    std::reverse(work.begin() + static_cast<std::ptrdiff_t>(at), work.end());
  };
  start->visitMark = mark;
  if (withStart) {
    GSWalk w = visit(start);
    if (w == GSWalk::Stop) return true;
    if (w == GSWalk::Skip) return false;
  }
  pushBases(start);
  while (!work.empty()) {
    GSClassSymbol* c = work.back();
    work.pop_back();
    if (c->visitMark == mark) continue;
    c->visitMark = mark;
    GSWalk w = visit(c);
    if (w == GSWalk::Stop) return true;
    if (w == GSWalk::Descend) pushBases(c);
  }
  return false;
}

// Names with scopes: a 61-bucket hash of every visible symbol plus a stack of at most 64
// scope levels; each level chains its symbols so leaving it removes exactly those.
class GSSymbolTable {
 public:
  static constexpr int kBuckets = 61;
  static constexpr int kMaxLevels = 64;

  explicit GSSymbolTable(GSStringPool& pool);
  GSSymbolTable(const GSSymbolTable&) = delete;
  GSSymbolTable& operator=(const GSSymbolTable&) = delete;

  // Empties the table: outermost scope open, no current class/function/dependency.
  void Reset();

  void EnterScope();
  void LeaveScope();
  int32_t Level() const { return level_; }

  // Innermost visible symbol of that name, or nullptr. The pointer overload compares by
  // identity: `name` must come from the table's pool; other texts go through string_view.
  GSSymbol* Find(const char* name) const;
  GSSymbol* Find(std::string_view name) const { return Find(pool_.Intern(name)); }
  // Symbol of that name declared at the current level, or nullptr.
  GSSymbol* FindInCurrentScope(const char* pooledName) const;
  // Enters `symbol` at the current level (fails if the name is taken at that level).
  bool Insert(GSSymbol* symbol);

  // Registers a compiled unit in the outermost scope; nullptr if the name is taken.
  GSDependentSymbol* InsertDependency(std::string_view fileName, uint32_t sourceCrc, uint32_t fileNameCrc,
                                      int32_t index);

  template <typename T>
  T* NewSymbol(const char* pooledName, int32_t kind) {
    T* symbol = memory_.New<T>();
    symbol->name = pooledName;
    symbol->kind = kind;
    return symbol;
  }
  Utils::BlockMemory& Memory() { return memory_; }
  GSStringPool& Pool() { return pool_; }

  // Classes in the order they were declared (class numbers 0, 1, ...).
  int32_t ClassCount() const { return static_cast<int32_t>(classes_.size()); }
  GSClassSymbol* ClassAt(int32_t number) const { return classes_[number]; }
  // Gives `cls` the next class number.
  void AddClass(GSClassSymbol* cls);

  GSDependentSymbol* currentDependency = nullptr;
  GSClassSymbol* currentClass = nullptr;
  GSFunctionSymbol* currentFunction = nullptr;

 private:
  GSStringPool& pool_;
  Utils::BlockMemory memory_;
  GSSymbolHash hash_;
  GSSymbol* levels_[kMaxLevels] = {};
  int32_t level_ = 0;
  int32_t ignoredEnters_ = 0;
  std::vector<GSClassSymbol*> classes_;
};

// Full signature name "$ret@Class::name(types)" and lookup key "::name(types)".
const char* GSFunctionSignature(GSStringPool& pool, int32_t returnType, const char* returnClass,
                                const char* className, const char* name, const GSParameterType* params,
                                int32_t count);
const char* GSFunctionKey(GSStringPool& pool, const char* name, const GSParameterType* params, int32_t count);
// Type as written in signatures and messages: class name (plus "[]") when it has one.
std::string GSTypeText(int32_t type, const char* className);

}  // namespace GSCompiler
