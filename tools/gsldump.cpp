// gsldump: prints a compiled GameScript library as text (header, tables, disassembly).
// Usage: gsldump file.gsl ...   Exit code 0, or 1 when a file is unreadable or damaged.
#include <cstdio>
#include <string>

#include "engine/file.h"
#include "gamescript/gs_library_reader.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s library.gsl ...\n", argv[0]);
    return 1;
  }
  int result = 0;
  for (int i = 1; i < argc; ++i) {
    std::string bytes;
    if (!Orb::ReadWholeFile(argv[i], bytes)) {
      std::fprintf(stderr, "%s: cannot read\n", argv[i]);
      result = 1;
      continue;
    }
    GSCompiler::GSLibraryImage image;
    std::string error;
    if (!GSCompiler::ReadLibrary(bytes, image, error)) {
      std::fprintf(stderr, "%s: %s\n", argv[i], error.c_str());
      result = 1;
      continue;
    }
    std::fputs(GSCompiler::DumpLibrary(image).c_str(), stdout);
  }
  return result;
}
