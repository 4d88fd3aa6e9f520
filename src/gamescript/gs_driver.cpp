// The compiler driver. Units are compiled recursively: a unit registers itself before its
// includes are compiled, so an include that leads back to an earlier unit ends there.
#include "gamescript/gs_driver.h"

#include <zlib.h>

#include <cstdio>

#include "engine/file.h"
#include "engine/path.h"
#include "engine/text.h"
#include "gamescript/gs_compiler_context.h"
#include "gamescript/gs_generate.h"
#include "gamescript/gs_library_writer.h"
#include "gamescript/gs_manual.h"
#include "gamescript/gs_options.h"
#include "gamescript/gs_parser.h"
#include "gamescript/gs_semantic.h"
#include "gamescript/script_source_file.h"

namespace GSCompiler {

uint32_t GSCrc32(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!bytes.empty()) {
    uInt step = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<uInt>(bytes.size());
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), step);
    bytes.remove_prefix(step);
  }
  return static_cast<uint32_t>(crc);
}

namespace {

// One entry of the include folder list. The container is always empty here.
struct IncludeFolder {
  std::string path;
  Orb::PString container;
};

// The part after the last '/' or '\'.
std::string BareName(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// `name` in `folder`, accepting a name that differs only in letter case.
std::string Locate(const std::string& folder, const std::string& name) {
  std::string exact = Orb::Path::AddPath(folder, name);
  if (Orb::File::IsRegularFile(exact)) return exact;
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(folder.empty() ? std::string(".") : folder, entries)) return {};
  for (const Orb::FindEntry& e : entries)
    if (!e.is_folder && Orb::EqualsIgnoreCase(e.name, name)) return Orb::Path::AddPath(folder, e.name);
  return {};
}

class Compilation {
 public:
  Compilation(GSCompilerContext& context, std::vector<IncludeFolder> folders, GSCompileLog& log)
      : context_(context), folders_(std::move(folders)), log_(log) {}

  // Compiles the unit `name` and everything it includes; returns its error count.
  int CompileUnit(const std::string& raw_name, bool include_mode) {
    const std::string name = Orb::ToLower(raw_name);
    std::string text;
    if (!Orb::Path::IsSafeComponent(name) || !ReadUnit(name, text)) {
      log_.Printf("Could not read file %s %s.", "", name.c_str());
      return 1;
    }
    auto unit = std::make_unique<GSUnit>();
    unit->fileName = context_.pool.Intern(name);
    unit->nodes = std::make_unique<Utils::BlockMemory>();
    GSUnit& u = *unit;
    context_.units.push_back(std::move(unit));
    if (GSParse(text, u.fileName, *u.nodes, context_.pool, log_, &u.declarations) != GS_PARSE_OK) return u.errors = 1;

    u.sourceCrc = GSCrc32(text);
    u.fileNameCrc = GSCrc32(name);
    if (!context_.symbols.InsertDependency(name, u.sourceCrc, u.fileNameCrc, context_.dependencyCount++)) {
      log_.Message("Internal Compiler Error.");
      return u.errors = 1;
    }

    int include_errors = 0;
    for (GSNode* d = u.declarations; d; d = d->next) {
      if (!d->IsDeclaration(GS_DECL_INCLUDE) || !d->child[0]) continue;
      const char* included = d->child[0]->value.text;
      std::string bare = BareName(included ? included : "");
      if (context_.symbols.Find(std::string_view(Orb::ToLower(bare)))) continue;  // compiled already
      include_errors += CompileUnit(bare, true);
    }
    if (include_errors) return u.errors = include_errors;

    GSSymbol* self = context_.symbols.Find(std::string_view(name));
    if (!self || self->kind != GS_SYM_DEPENDENCY) return u.errors = 1;
    context_.symbols.currentDependency = static_cast<GSDependentSymbol*>(self);
    GSSemanticInput input;
    input.declarations = u.declarations;
    input.fileName = u.fileName;
    input.includeMode = include_mode;
    input.nodes = u.nodes.get();
    return u.errors = GSAnalyse(context_.symbols, input, log_);
  }

 private:
  // Searches the folders in order; a missing x.gs is looked for as x.gse in the same folder.
  bool ReadUnit(const std::string& name, std::string& text) {
    for (const IncludeFolder& folder : folders_) {
      std::string path = Locate(folder.path, name);
      if (path.empty() && Orb::Path::IsExt(name, "gs")) path = Locate(folder.path, Orb::Path::SetExt(name, "gse"));
      if (path.empty()) continue;
      ScriptSourceFile source;
      if (!source.Read(folder.container, path) || !source.Unscramble()) return false;
      text.assign(source.Text());
      return true;
    }
    return false;
  }

  GSCompilerContext& context_;
  std::vector<IncludeFolder> folders_;
  GSCompileLog& log_;
};

std::string OutputPath(const std::string& source, const std::optional<std::string>& output) {
  std::string folder = output ? Orb::Path::DelName(Orb::Path::ReplaceBackSlashes(*output))
                              : Orb::Path::DelName(Orb::Path::ReplaceBackSlashes(source));
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  return folder + Orb::Path::SetExt(BareName(source), "gsl");
}

}  // namespace

unsigned CompileSourceFile(const std::string& source, const std::optional<std::string>& output,
                           const std::vector<std::string>& includes, GSCompileLog& log) {
  std::vector<IncludeFolder> folders;
  folders.push_back({Orb::Path::DelName(Orb::Path::ReplaceBackSlashes(source)), Orb::PString()});
  for (const std::string& folder : includes) folders.push_back({folder, Orb::PString()});

  std::string name = BareName(source);
  if (Orb::Path::IsExt(name, "gse")) name.pop_back();  // x.gse compiles as x.gs (found as x.gse when alone)

  auto context = std::make_unique<GSCompilerContext>();
  context->Reset(&log);
  Compilation compilation(*context, std::move(folders), log);
  int errors = compilation.CompileUnit(name, false);
  if (errors > 0) {
    log.Message("\nBuild Failed...");
    return static_cast<unsigned>(errors);
  }

  GSCLibrary library;
  if (!Generate(*context, log, library)) {
    log.Message("\nInternal Code Generation Error...");
    return 1;
  }
  library.source_path = source;
  GSOutputBuffer buffer(1024);
  if (!WriteLibrary(buffer, library, context->strings)) {
    log.Message("Internal Compiler Error.\n");
    return 1;
  }
  // Written through a temporary file: an existing library is replaced only by a complete one.
  if (!Orb::WriteFileAtomic(OutputPath(source, output), buffer.View())) {
    log.Message("Unable to open output file.\n");
    return 1;
  }
  return 0;
}

unsigned GSCompilerMain(int argc, const char* const* argv) {
  GSCompileLog log;
  const char* program = argc > 0 ? argv[0] : "";
  GSOptions options;
  unsigned result = 1;
  if (argc <= 1) {
    PrintUsage(stdout, program);
  } else {
    options = ParseOptions(argc, argv);
    if (options.documentation) {
      std::printf("%s\n", LanguageManual());
      std::fflush(stdout);
      return 0;
    }
    if (!options.source.empty()) {
      result = CompileSourceFile(options.source, options.output, options.include_folders, log);
    } else {
      PrintUsage(stdout, program);
    }
  }
  log.Flush(options.build_log ? &*options.build_log : nullptr, options.silent, stdout);
  return result;
}

}  // namespace GSCompiler
