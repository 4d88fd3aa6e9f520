// What code generation hands the library writer: compiled classes (`GSCClass`) with their
// functions (`GSCFunction`: byte code, reference slots, line table) and the library's tables.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace GSCompiler {

class GSSymbol;

// One line-table entry: code offset and source line.
struct LineDebugInfo {
  uint32_t offset;
  uint32_t line;
};

struct GSCFunction {
  GSSymbol* symbol = nullptr;   // the function symbol (none for the member initialiser)
  std::string signature;        // full signature name ("::Name()" for the initialiser)
  uint32_t return_type = 0;     // type code
  int32_t return_class = -1;    // class number of an object return, else -1
  uint32_t flags = 0;           // declaration specifier bits (masked when written)
  int32_t dispatch_slot = -1;   // -1 for the initialiser
  bool initialiser = false;     // the generated member initialiser (no line table)
  int32_t parameters = 1;       // P: 1 + number of parameters
  int32_t locals = 0;           // L
  int32_t extra_slots = 0;      // T
  int32_t max_depth = 0;        // D: deepest expression stack reached
  int32_t depth = 0;            // current expression-stack depth while generating
  std::vector<int32_t> reference_slots;  // locals of a reference type, in declaration order
  std::vector<uint8_t> code;
  std::vector<LineDebugInfo> lines;

  GSCFunction() {
    code.reserve(1024);
    reference_slots.reserve(16);
    lines.reserve(128);
  }
};

struct GSCBase {
  uint32_t class_number;
  uint32_t offset;  // slot offset of the base within this class
  bool direct;      // a direct base, not one reached through another base
  uint32_t size;    // the base's member-slot count
};

struct GSCMember {
  std::string name;
  uint32_t type = 0;
  int32_t class_number = -1;
  bool is_public = false;
  int32_t slot = -1;
};

struct GSCDispatchEntry {
  uint32_t class_number;  // the class that implements the slot
  uint32_t entry;         // the function's index within that class
};

struct GSCClass {
  GSSymbol* symbol = nullptr;
  std::string name;
  uint32_t class_number = 0;
  uint32_t flags = 0;                     // declaration specifier bits (masked when written)
  std::vector<GSCBase> bases;             // resolved base list
  std::vector<GSCFunction> functions;     // functions with a body, in declaration order
  GSCFunction initialiser;                // member initialiser "::Name()"
  std::vector<GSCMember> members;         // member variables that are not defines
  std::vector<GSCDispatchEntry> dispatch; // dispatch table
  uint32_t member_slots = 0;              // inherited slots included
  std::vector<int32_t> reference_slots;   // member variables of a reference type

  GSCClass() { reference_slots.reserve(16); }
};

// A class known to the library (from any unit), by class number.
struct GSCClassRef {
  uint32_t dependency;  // index of the unit that declared it
  std::string name;
};

// A function known to the library, by function number.
struct GSCFunctionRef {
  uint32_t class_number;
  std::string signature;
  int32_t dispatch_slot;  // -1 when it has no class
};

struct GSCDependency {
  uint32_t source_crc;
  uint32_t name_crc;
};

// Everything the library file holds. dependencies[0] is the main unit itself.
struct GSCLibrary {
  std::string source_path;  // as given on the command line
  std::vector<GSCDependency> dependencies;
  std::vector<GSCClassRef> classes;
  std::vector<GSCFunctionRef> functions;
  std::vector<GSCClass> compiled;  // the main unit's classes, in declaration order
};

}  // namespace GSCompiler
