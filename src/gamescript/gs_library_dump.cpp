// Text form of a library for developers and tests: one line per item, byte code disassembled.
#include <cstring>

#include "engine/text.h"
#include "gamescript/gs_library_reader.h"
#include "gamescript/gs_opcodes.h"

namespace GSCompiler {

namespace {

int16_t I16(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
int32_t I32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

std::string Quoted(const std::vector<std::string>& strings, int64_t id) {
  if (id < 0 || static_cast<size_t>(id) >= strings.size()) return Orb::Format("#%lld?", static_cast<long long>(id));
  return "\"" + strings[static_cast<size_t>(id)] + "\"";
}

std::string Slots(const std::vector<int32_t>& slots) {
  std::string out = "[";
  for (size_t i = 0; i < slots.size(); ++i) out += (i ? " " : "") + std::to_string(slots[i]);
  return out + "]";
}

}  // namespace

std::string Disassemble(const std::vector<uint8_t>& code, const std::vector<std::string>& strings) {
  std::string out;
  size_t at = 0;
  const size_t n = code.size();
  while (at < n) {
    const uint8_t op = code[at];
    const GSOpcodeInfo& info = OpcodeInfo(op);
    std::string line = Orb::Format("%04zu ", at);
    if (!info.name) {
      out += line + Orb::Format("db %u\n", op);
      ++at;
      continue;
    }
    line += info.name;
    const uint8_t* p = code.data() + at + 1;
    size_t left = n - at - 1;
    size_t size = 0;
    switch (info.operand) {
      case GS_OPND_NONE: break;
      case GS_OPND_I16:
        if (left < 2) break;
        size = 2;
        line += op == OP_PUSH_STRING ? " " + Quoted(strings, I16(p)) : Orb::Format(" %d", I16(p));
        break;
      case GS_OPND_I16X2:
        if (left < 4) break;
        size = 4;
        line += Orb::Format(" %d %d", I16(p), I16(p + 2));
        break;
      case GS_OPND_I32:
        if (left < 4) break;
        size = 4;
        line += Orb::Format(" %d", I32(p));
        if (op == OP_PUSH_32 && (static_cast<uint32_t>(I32(p)) & 0x7F800000u) != 0 &&
            (static_cast<uint32_t>(I32(p)) & 0x7F800000u) != 0x7F800000u) {
          float f;  // a normal float's bits: show the float too
          std::memcpy(&f, p, 4);
          line += Orb::Format(" (%gf)", static_cast<double>(f));
        }
        break;
      case GS_OPND_SWITCH: {
        if (left < 2) break;
        int16_t c = I16(p);
        size_t need = c < 0 ? SIZE_MAX : 2 + 8 * static_cast<size_t>(c) + 4;
        if (need > left) break;
        size = need;
        line += Orb::Format(" %d:", c);
        for (int i = 0; i < c; ++i) line += Orb::Format(" %d->%d", I32(p + 2 + 4 * i), I32(p + 2 + 4 * (c + i)));
        line += Orb::Format(" default->%d", I32(p + 2 + 8 * c));
        break;
      }
      case GS_OPND_WAIT: {
        if (left < 2) break;
        int16_t h = I16(p);
        size_t need = h < 0 ? SIZE_MAX : 2 + 8 * static_cast<size_t>(h);
        if (need > left) break;
        size = need;
        line += Orb::Format(" %d:", h);
        for (int i = 0; i < h; ++i)
          line += " " + Quoted(strings, I16(p + 2 + 4 * i)) + "," + Quoted(strings, I16(p + 4 + 4 * i)) +
                  Orb::Format("->%d", I32(p + 2 + 4 * h + 4 * i));
        break;
      }
    }
    if (info.operand != GS_OPND_NONE && size == 0) {
      out += line + " <cut>\n";
      break;
    }
    out += line + "\n";
    at += 1 + size;
  }
  return out;
}

std::string DumpLibrary(const GSLibraryImage& image) {
  const GSCLibrary& lib = image.library;
  std::string out = Orb::Format("library \"%s\" version %.2f length %u identity %08x %08x\n", lib.source_path.c_str(),
                                static_cast<double>(image.version), image.total_length, image.source_crc, image.name_crc);
  for (size_t i = 0; i < lib.dependencies.size(); ++i)
    out += Orb::Format("dependency %zu %08x %08x\n", i, lib.dependencies[i].source_crc, lib.dependencies[i].name_crc);
  for (size_t i = 0; i < image.strings.size(); ++i) out += Orb::Format("string %zu \"%s\"\n", i, image.strings[i].c_str());
  for (size_t i = 0; i < lib.classes.size(); ++i)
    out += Orb::Format("class %zu \"%s\" dependency %u\n", i, lib.classes[i].name.c_str(), lib.classes[i].dependency);
  for (size_t i = 0; i < lib.functions.size(); ++i)
    out += Orb::Format("function %zu \"%s\" class %u slot %d\n", i, lib.functions[i].signature.c_str(),
                       lib.functions[i].class_number, lib.functions[i].dispatch_slot);
  for (const GSCClass& c : lib.compiled) {
    out += Orb::Format("code \"%s\" flags 0x%x slots %u\n", c.name.c_str(), c.flags, c.member_slots);
    for (const GSCBase& b : c.bases)
      out += Orb::Format("  base %u offset %u size %u%s\n", b.class_number, b.offset, b.size, b.direct ? " direct" : "");
    auto function = [&](const GSCFunction& f) {
      out += Orb::Format("  %s \"%s\" returns %u/%d flags 0x%x slot %d P=%d L=%d T=%d D=%d refs %s\n",
                         f.initialiser ? "initialiser" : "function", f.signature.c_str(), f.return_type, f.return_class,
                         f.flags, f.dispatch_slot, f.parameters, f.locals, f.extra_slots, f.max_depth,
                         Slots(f.reference_slots).c_str());
      std::string code = Disassemble(f.code, image.strings);
      for (size_t start = 0; start < code.size();) {
        size_t end = code.find('\n', start);
        out += "    " + code.substr(start, end - start + 1);
        start = end + 1;
      }
      if (!f.initialiser) {
        out += "    lines";
        for (const LineDebugInfo& l : f.lines) out += Orb::Format(" %u:%u", l.offset, l.line);
        out += "\n";
      }
    };
    for (const GSCFunction& f : c.functions) function(f);
    function(c.initialiser);
    for (const GSCMember& m : c.members)
      out += Orb::Format("  member \"%s\" type %u class %d%s slot %d\n", m.name.c_str(), m.type, m.class_number,
                         m.is_public ? " public" : "", m.slot);
    out += "  dispatch";
    for (const GSCDispatchEntry& d : c.dispatch) out += Orb::Format(" %u.%u", d.class_number, d.entry);
    out += "\n  references " + Slots(c.reference_slots) + "\n";
  }
  return out;
}

}  // namespace GSCompiler
