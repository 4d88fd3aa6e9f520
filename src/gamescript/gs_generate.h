// Code generation for the main unit: one GSCClass per class with its functions' byte code,
// member initialiser, members, dispatch table and layout; plus the library's tables.
#pragma once
#include "gamescript/gs_compiled.h"
#include "gamescript/gs_compiler_context.h"

namespace GSCompiler {

// Fills `library` (all but the source path) from the analysed units of `context`. False on
// an internal failure or an override with another return type (already logged).
bool Generate(GSCompilerContext& context, GSLog& log, GSCLibrary& library);

}  // namespace GSCompiler
