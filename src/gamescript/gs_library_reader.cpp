// Library reader: a cursor over the bytes whose every read is bounds-checked; chunks are
// read inside their declared length, which must itself fit in the enclosing range.
#include "gamescript/gs_library_reader.h"

#include <cstring>

#include "engine/text.h"
#include "gamescript/gs_library_writer.h"

namespace GSCompiler {

namespace {

class Cursor {
 public:
  Cursor(const uint8_t* p, const uint8_t* end) : p_(p), end_(end) {}
  bool ok() const { return ok_; }
  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  const uint8_t* Here() const { return p_; }

  uint32_t U32() {
    if (Left() < 4) return Fail(), 0;
    uint32_t v = p_[0] | p_[1] << 8 | p_[2] << 16 | static_cast<uint32_t>(p_[3]) << 24;
    p_ += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  float F32() {
    uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  bool Skip(size_t n) {
    if (Left() < n) return Fail(), false;
    p_ += n;
    return true;
  }
  // A count of records of `record` bytes each, refused when the bytes cannot be there.
  uint32_t Count(size_t record) {
    uint32_t n = U32();
    if (ok_ && record > 0 && n > Left() / record) return Fail(), 0;
    return n;
  }
  // Enters a chunk with the expected id: returns a cursor limited to its body.
  Cursor Chunk(uint32_t id) {
    const uint8_t* start = p_;
    uint32_t length = U32();
    uint32_t got = U32();
    if (!ok_ || got != id || length < 8 || length - 8 > Left()) {
      Fail();
      return Cursor(p_, p_);
    }
    Cursor body(p_, start + length);
    p_ = start + length;
    return body;
  }
  void Fail() {
    ok_ = false;
    p_ = end_;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  bool ok_ = true;
};

struct Reader {
  GSLibraryImage& image;
  std::string& error;

  bool Bad(const char* what) {
    error = what;
    return false;
  }
  bool String(uint32_t id, std::string& out) {
    if (id >= image.strings.size()) return false;
    out = image.strings[id];
    return true;
  }

  bool Function(Cursor c, GSCFunction& f, bool initialiser) {
    f.initialiser = initialiser;
    if (!String(c.U32(), f.signature)) return Bad("function name id out of range");
    f.return_type = c.U32();
    f.return_class = c.I32();
    f.flags = c.U32();
    f.dispatch_slot = c.I32();
    int32_t frame[7];
    for (int32_t& w : frame) w = c.I32();
    f.parameters = frame[4];
    f.locals = frame[5];
    f.extra_slots = frame[6];
    // Words from a file may be anything: wrap instead of overflowing.
    f.max_depth = static_cast<int32_t>(static_cast<uint32_t>(frame[3]) - static_cast<uint32_t>(frame[5]) -
                                       static_cast<uint32_t>(frame[6]) - 4u);
    uint32_t refs = c.Count(4);
    for (uint32_t i = 0; i < refs; ++i) f.reference_slots.push_back(c.I32());
    uint32_t code = c.Count(1);
    if (!c.ok()) return Bad("function record cut short");
    f.code.assign(c.Here(), c.Here() + code);
    c.Skip(code);
    c.Skip((4 - code % 4) % 4);
    if (!initialiser) {
      if (c.Left() < 4 || std::memcmp(c.Here(), "lgbd", 4) != 0) return Bad("line table missing");
      c.Skip(4);
      uint32_t lines = c.Count(8);
      for (uint32_t i = 0; i < lines; ++i) {
        uint32_t offset = c.U32();
        f.lines.push_back({offset, c.U32()});
      }
    }
    return c.ok() || Bad("function record cut short");
  }

  bool Class(Cursor c, GSCClass& k) {
    if (!String(c.U32(), k.name)) return Bad("class name id out of range");
    k.flags = c.U32();
    uint32_t bases = c.Count(12);
    for (uint32_t i = 0; i < bases; ++i) {
      GSCBase b{};
      b.class_number = c.U32();
      b.offset = c.U32();
      b.direct = c.U32() != 0;
      k.bases.push_back(b);
    }
    Cursor fc = c.Chunk(GS_CHUNK_CLASS_FUNCTIONS);
    uint32_t count = fc.Count(8);
    if (!c.ok() || !fc.ok() || count == 0) return Bad("class functions missing");
    for (uint32_t i = 0; i < count; ++i) {
      bool init = i + 1 == count;
      GSCFunction f;
      if (!Function(fc.Chunk(GS_CHUNK_FUNCTION), f, init)) return false;
      if (!fc.ok()) return Bad("function chunk damaged");
      (init ? k.initialiser : k.functions.emplace_back()) = std::move(f);
    }
    Cursor mc = c.Chunk(GS_CHUNK_MEMBERS);
    uint32_t members = mc.Count(20);
    for (uint32_t i = 0; i < members && mc.ok(); ++i) {
      GSCMember m;
      if (!String(mc.U32(), m.name)) return Bad("member name id out of range");
      m.type = mc.U32();
      m.class_number = mc.I32();
      m.is_public = mc.U32() != 0;
      m.slot = mc.I32();
      k.members.push_back(m);
    }
    Cursor dc = c.Chunk(GS_CHUNK_DISPATCH);
    uint32_t slots = dc.Count(8);
    for (uint32_t i = 0; i < slots; ++i) {
      uint32_t cls = dc.U32();
      k.dispatch.push_back({cls, dc.U32()});
    }
    Cursor lc = c.Chunk(GS_CHUNK_LAYOUT);
    k.member_slots = lc.U32() - 3;
    uint32_t parts = lc.U32();
    if (parts != 2 * k.bases.size() + 1) return Bad("layout does not match the base list");
    for (GSCBase& b : k.bases) {
      lc.Skip(20);
      b.size = lc.U32();
    }
    lc.Skip(12);
    uint32_t refs = lc.Count(4);
    for (uint32_t i = 0; i < refs; ++i) k.reference_slots.push_back(lc.I32());
    if (!c.ok() || !mc.ok() || !dc.ok() || !lc.ok()) return Bad("class chunk damaged");
    return true;
  }

  bool Read(std::string_view bytes) {
    const auto* begin = reinterpret_cast<const uint8_t*>(bytes.data());
    Cursor c(begin, begin + bytes.size());
    image.total_length = c.U32();
    if (c.U32() != kLibraryMagic) return Bad("not a library (magic)");
    if (image.total_length != bytes.size()) return Bad("length field does not match the file");
    image.version = c.F32();
    image.source_crc = c.U32();
    image.name_crc = c.U32();
    uint32_t path = c.Count(1);
    if (!c.ok() || path == 0 || c.Here()[path - 1] != 0) return Bad("source path damaged");
    image.library.source_path.assign(reinterpret_cast<const char*>(c.Here()), path - 1);
    c.Skip(path);

    Cursor deps = c.Chunk(GS_CHUNK_DEPENDENCIES);
    uint32_t n = deps.Count(8);
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t crc = deps.U32();
      image.library.dependencies.push_back({crc, deps.U32()});
    }
    if (!deps.ok() || !c.ok()) return Bad("dependency chunk damaged");

    Cursor strings = c.Chunk(GS_CHUNK_STRINGS);
    n = strings.Count(5);
    std::vector<uint32_t> offsets;
    for (uint32_t i = 0; i < n; ++i) offsets.push_back(strings.U32());
    const char* text = reinterpret_cast<const char*>(strings.Here());
    size_t text_size = strings.Left();
    for (uint32_t offset : offsets) {
      if (offset >= text_size) return Bad("string offset out of range");
      const void* nul = std::memchr(text + offset, 0, text_size - offset);
      if (!nul) return Bad("string not terminated");
      image.strings.emplace_back(text + offset, static_cast<const char*>(nul));
    }
    if (!strings.ok() || !c.ok()) return Bad("string chunk damaged");

    Cursor classes = c.Chunk(GS_CHUNK_CLASSES);
    n = classes.Count(8);
    for (uint32_t i = 0; i < n; ++i) {
      GSCClassRef ref;
      ref.dependency = classes.U32();
      if (!String(classes.U32(), ref.name)) return Bad("class name id out of range");
      image.library.classes.push_back(ref);
    }
    Cursor functions = c.Chunk(GS_CHUNK_FUNCTIONS);
    n = functions.Count(12);
    for (uint32_t i = 0; i < n; ++i) {
      GSCFunctionRef ref;
      ref.class_number = functions.U32();
      if (!String(functions.U32(), ref.signature)) return Bad("function name id out of range");
      ref.dispatch_slot = functions.I32();
      image.library.functions.push_back(ref);
    }
    if (!classes.ok() || !functions.ok() || !c.ok()) return Bad("class or function table damaged");

    Cursor code = c.Chunk(GS_CHUNK_CODE);
    n = code.Count(8);
    for (uint32_t i = 0; i < n; ++i) {
      GSCClass k;
      if (!Class(code.Chunk(GS_CHUNK_CLASS), k)) return false;
      if (!code.ok()) return Bad("code chunk damaged");
      image.library.compiled.push_back(std::move(k));
    }
    if (!code.ok() || !c.ok()) return Bad("code chunk damaged");
    if (c.Left() != 0) return Bad("bytes after the last chunk");
    return true;
  }
};

}  // namespace

bool ReadLibrary(std::string_view bytes, GSLibraryImage& image, std::string& error) {
  image = GSLibraryImage();
  Reader reader{image, error};
  return reader.Read(bytes);
}

}  // namespace GSCompiler
