// Helpers for compiler-driver and code-generation tests: write sources into a temporary
// folder, compile one of them, and read the library back as text.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/file.h"
#include "engine/path.h"
#include "gamescript/gs_driver.h"
#include "gamescript/gs_library_reader.h"
#include "support/installation.h"

namespace gstest {

struct Compiled {
  unsigned errors = 0;
  std::vector<std::string> log;
  std::string dump;  // the library as text; empty when none was written
  GSCompiler::GSLibraryImage image;

  std::string Log() const {
    std::string all;
    for (const auto& l : log) all += l + "\n";
    return all;
  }
  // The disassembly lines of one function or initialiser, up to its line table.
  std::string Code(const std::string& signature) const {
    size_t at = dump.find("  function \"" + signature + "\"");
    if (at == std::string::npos) at = dump.find("  initialiser \"" + signature + "\"");
    if (at == std::string::npos) return "<no " + signature + ">";
    at = dump.find('\n', at) + 1;
    std::string out;
    while (at < dump.size() && dump.compare(at, 4, "    ") == 0 && dump.compare(at, 9, "    lines") != 0) {
      size_t end = dump.find('\n', at);
      out += dump.substr(at + 4, end - at - 3);
      at = end + 1;
    }
    return out;
  }
};

class ScriptFolder {
 public:
  void Put(const std::string& name, const std::string& text) const {
    std::string path = Orb::Path::AddPath(dir_.Path(), name);
    Orb::File::Md(Orb::Path::DelName(path));
    Orb::WriteWholeFile(path, text);
  }
  std::string Path(const std::string& name = "") const { return Orb::Path::AddPath(dir_.Path(), name); }

  Compiled Compile(const std::string& name, const std::optional<std::string>& output = std::nullopt,
                   const std::vector<std::string>& includes = {}, const std::string& library = "") const {
    Compiled c;
    GSCompiler::GSCompileLog log;
    c.errors = GSCompiler::CompileSourceFile(Path(name), output, includes, log);
    c.log = log.Lines();
    std::string gsl = library.empty() ? Orb::Path::SetExt(Path(name), "gsl") : library;
    std::string bytes, error;
    if (c.errors == 0 && Orb::ReadWholeFile(gsl, bytes)) {
      if (GSCompiler::ReadLibrary(bytes, c.image, error)) c.dump = GSCompiler::DumpLibrary(c.image);
      else c.dump = "<unreadable: " + error + ">";
    }
    return c;
  }

 private:
  qtest::TempFolder dir_;
};

// Compiles one class body text as the only class of t.gs and returns the result.
inline Compiled CompileClass(const std::string& source) {
  ScriptFolder folder;
  folder.Put("t.gs", source);
  return folder.Compile("t.gs");
}

}  // namespace gstest
