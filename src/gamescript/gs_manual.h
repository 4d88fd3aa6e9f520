// The language manual printed by the compiler's -d switch.
#pragma once

namespace GSCompiler {

const char* LanguageManual();

}  // namespace GSCompiler
