// Option parsing and usage text of the compiler.
#include "gamescript/gs_options.h"

#include <cstring>

namespace GSCompiler {

GSOptions ParseOptions(int argc, const char* const* argv) {
  GSOptions options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i] ? argv[i] : "";
    if (arg[0] != '-') {
      options.source = arg;  // a later name replaces an earlier one
      continue;
    }
    const char* value = arg[1] != '\0' ? arg + 2 : arg + 1;
    switch (arg[1]) {
      case 's': options.silent = true; break;
      case 'b': options.build_log = value; break;
      case 'p': options.output = value; break;
      case 'i': options.include_folders.emplace_back(value); break;
      case 'd': options.documentation = true; return options;
      default: break;  // -o, -c, -t, -l and anything else: accepted and ignored
    }
  }
  return options;
}

std::string BareProgramName(const char* program_path) {
  if (!program_path) return std::string();
  const char* name = program_path;
  for (const char* p = program_path; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return name;
}

void PrintUsage(std::FILE* out, const char* program_path) {
  const std::string name = BareProgramName(program_path);
  std::fprintf(out, "BELMO GameScript Compiler V%4.2f\n\n", static_cast<double>(kCompilerVersion));
  std::fprintf(out, "%s returns number of compile errors\n", name.c_str());
  std::fprintf(out, "%s <option> <option>..\nwhere <option> is one of the following\n\n", name.c_str());
  std::fputs("<-d> print documentation, u might wanna pipe it to a text document =)\n", out);
  std::fputs("<-s> silent\n", out);
  std::fputs("<-bfilename> dump the build info (compile log) to file\n", out);
  std::fputs("<-ppathname> output path\n", out);
  std::fputs("<-ofilename> output library filename\n", out);
  std::fputs("<filename> input source file\n", out);
  std::fputs("<-ipathname> additional include path\n", out);
}

}  // namespace GSCompiler
