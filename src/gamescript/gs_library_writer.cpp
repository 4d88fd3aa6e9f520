// The library layout. Chunks 4 to 6 are produced first, into buffers of their own, because
// they add names to the string table, which must be complete when chunk 3 is written.
#include "gamescript/gs_library_writer.h"

#include "gamescript/gs_options.h"

namespace GSCompiler {

namespace {

void WriteFunction(GSOutputBuffer& out, const GSCFunction& f, GSStringTable& strings) {
  size_t chunk = out.BeginChunk(GS_CHUNK_FUNCTION);
  out.WriteU32(strings.Intern(f.signature));
  out.WriteU32(f.return_type);
  out.WriteI32(f.return_class);
  out.WriteU32(f.initialiser ? kInitialiserFlags : (f.flags & kFunctionFlagMask));
  out.WriteI32(f.initialiser ? -1 : f.dispatch_slot);
  const uint32_t p = static_cast<uint32_t>(f.parameters), l = static_cast<uint32_t>(f.locals),
                 t = static_cast<uint32_t>(f.extra_slots), d = static_cast<uint32_t>(f.max_depth);
  for (uint32_t word : {l + t + 4, 1 - p, l + t + 1, d + l + t + 4, p, l, t}) out.WriteU32(word);
  out.WriteU32(static_cast<uint32_t>(f.reference_slots.size()));
  for (int32_t slot : f.reference_slots) out.WriteI32(slot);
  out.WriteU32(static_cast<uint32_t>(f.code.size()));
  size_t code_start = out.Tell();
  out.Write(f.code.data(), f.code.size());
  out.Pad4(code_start, 0xFF);
  if (!f.initialiser) {
    size_t lines_start = out.Tell();
    out.WriteText("lgbd");
    out.WriteU32(static_cast<uint32_t>(f.lines.size()));
    for (const LineDebugInfo& line : f.lines) {
      out.WriteU32(line.offset);
      out.WriteU32(line.line);
    }
    out.Pad4(lines_start, 0);
  }
  out.EndChunk(chunk);
}

void WriteClass(GSOutputBuffer& out, const GSCClass& c, GSStringTable& strings) {
  size_t chunk = out.BeginChunk(GS_CHUNK_CLASS);
  out.WriteU32(strings.Intern(c.name));
  out.WriteU32(c.flags & kClassFlagMask);
  out.WriteU32(static_cast<uint32_t>(c.bases.size()));
  for (const GSCBase& base : c.bases) {
    out.WriteU32(base.class_number);
    out.WriteU32(base.offset);
    out.WriteU32(base.direct ? 1 : 0);
  }

  size_t functions = out.BeginChunk(GS_CHUNK_CLASS_FUNCTIONS);
  out.WriteU32(static_cast<uint32_t>(c.functions.size() + 1));
  for (const GSCFunction& f : c.functions) WriteFunction(out, f, strings);
  WriteFunction(out, c.initialiser, strings);
  out.EndChunk(functions);

  size_t members = out.BeginChunk(GS_CHUNK_MEMBERS);
  out.WriteU32(static_cast<uint32_t>(c.members.size()));
  for (const GSCMember& m : c.members) {
    out.WriteU32(strings.Intern(m.name));
    out.WriteU32(m.type);
    out.WriteI32(m.class_number);
    out.WriteU32(m.is_public ? 1 : 0);
    out.WriteI32(m.slot);
  }
  out.EndChunk(members);

  size_t dispatch = out.BeginChunk(GS_CHUNK_DISPATCH);
  out.WriteU32(static_cast<uint32_t>(c.dispatch.size()));
  for (const GSCDispatchEntry& e : c.dispatch) {
    out.WriteU32(e.class_number);
    out.WriteU32(e.entry);
  }
  out.EndChunk(dispatch);

  size_t layout = out.BeginChunk(GS_CHUNK_LAYOUT);
  out.WriteU32(c.member_slots + 3);
  out.WriteU32(static_cast<uint32_t>(2 * c.bases.size() + 1));
  for (const GSCBase& base : c.bases) {
    const uint32_t o = base.offset;
    for (uint32_t word : {0u, o, 0u - o, 1u, o + 1, base.size}) out.WriteU32(word);
  }
  out.WriteU32(1);
  out.WriteU32(1);
  out.WriteU32(0);
  out.WriteU32(static_cast<uint32_t>(c.reference_slots.size()));
  for (int32_t slot : c.reference_slots) out.WriteI32(slot);
  out.EndChunk(layout);

  out.EndChunk(chunk);
}

void WriteStringTable(GSOutputBuffer& out, const GSStringTable& strings) {
  size_t chunk = out.BeginChunk(GS_CHUNK_STRINGS);
  out.WriteU32(static_cast<uint32_t>(strings.Count()));
  if (strings.Count() > 0) {
    uint32_t offset = 0;
    for (const std::string& text : strings.Texts()) {
      out.WriteU32(offset);
      offset += static_cast<uint32_t>(text.size() + 1);
    }
    size_t texts_start = out.Tell();
    for (const std::string& text : strings.Texts()) out.Write(text.c_str(), text.size() + 1);
    out.Pad4(texts_start, 0);
  }
  out.EndChunk(chunk);
}

// Copies a finished table buffer into the library; a failed table fails the library.
void Append(GSOutputBuffer& out, const GSOutputBuffer& table) {
  if (table.Failed()) {
    out.Seek(out.Size() + 1);  // sets the failure flag
    return;
  }
  out.Write(table.Data(), table.Size());
}

}  // namespace

bool WriteLibrary(GSOutputBuffer& out, const GSCLibrary& library, GSStringTable& strings) {
  GSOutputBuffer classes(512), functions(512), code(1024);

  size_t chunk = classes.BeginChunk(GS_CHUNK_CLASSES);
  classes.WriteU32(static_cast<uint32_t>(library.classes.size()));
  for (const GSCClassRef& c : library.classes) {
    classes.WriteU32(c.dependency);
    classes.WriteU32(strings.Intern(c.name));
  }
  classes.EndChunk(chunk);

  chunk = functions.BeginChunk(GS_CHUNK_FUNCTIONS);
  functions.WriteU32(static_cast<uint32_t>(library.functions.size()));
  for (const GSCFunctionRef& f : library.functions) {
    functions.WriteU32(f.class_number);
    functions.WriteU32(strings.Intern(f.signature));
    functions.WriteI32(f.dispatch_slot);
  }
  functions.EndChunk(chunk);

  chunk = code.BeginChunk(GS_CHUNK_CODE);
  code.WriteU32(static_cast<uint32_t>(library.compiled.size()));
  for (const GSCClass& c : library.compiled) WriteClass(code, c, strings);
  code.EndChunk(chunk);

  const GSCDependency identity = library.dependencies.empty() ? GSCDependency{0, 0} : library.dependencies[0];
  out.WriteU32(0);  // total length, patched below
  out.WriteU32(kLibraryMagic);
  out.WriteF32(kCompilerVersion);
  out.WriteU32(identity.source_crc);
  out.WriteU32(identity.name_crc);
  out.WriteU32(static_cast<uint32_t>(library.source_path.size() + 1));
  out.Write(library.source_path.c_str(), library.source_path.size() + 1);

  chunk = out.BeginChunk(GS_CHUNK_DEPENDENCIES);
  out.WriteU32(static_cast<uint32_t>(library.dependencies.size()));
  for (const GSCDependency& d : library.dependencies) {
    out.WriteU32(d.source_crc);
    out.WriteU32(d.name_crc);
  }
  out.EndChunk(chunk);

  WriteStringTable(out, strings);
  Append(out, classes);
  Append(out, functions);
  Append(out, code);
  out.PatchU32(0, static_cast<uint32_t>(out.Size()));
  return !out.Failed();
}

}  // namespace GSCompiler
