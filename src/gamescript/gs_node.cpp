// Names of type codes and operators as the compiler shows them in messages and signatures.
#include "gamescript/gs_node.h"

namespace GSCompiler {

const char* GSTypeName(int32_t type) {
  static const char* const kNames[] = {"void",   "bool",   "int",     "float",    "string",
                                       "object", "void[]", "bool[]",  "int[]",    "float[]",
                                       "string[]", "object[]", "", "null"};
  if (type < 0 || type > GS_TYPE_NULL) return "illegal type";
  return kNames[type];
}

const char* GSOperatorName(int32_t op) {
  static const char* const kNames[GS_OP_COUNT] = {
      "--", "++", ".", "+", "-", "!", "~", "--", "++", "[,]", "[]", "cast", "*", "/", "%", "+", "-",
      "<<", ">>", "<", ">", "<=", ">=", "==", "!=", "&", "^", "|", "and", "or", "=", ".size",
      ".isclass", ".copy", "new"};
  if (op < 0 || op >= GS_OP_COUNT) return "?";
  return kNames[op];
}

}  // namespace GSCompiler
