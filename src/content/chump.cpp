// Reading a chump stream into a tree of views, and writing any chunk tree in chump form.
#include "content/chump.h"

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/binary_file.h"
#include "content/coding.h"

namespace QETLib {

ChunkRef ReadChump(TStream& stream) {
  Ref<QDBBinaryFile> file(new QDBBinaryFile());
  file->Load(stream);
  return file->GetRoot();
}

uint8_t ChumpCodeForType(int32_t type) {
  switch (type) {
    case kTypeContainer: return 0;
    case kTypeInt: return 1;
    case kTypeFloat: return 2;
    case kTypeString:
    case kTypeString5: return 3;
    case kTypeBinary: return 4;
    case kTypeKUID: return 13;
    default: return 5;  // null, and types the format has no code for
  }
}

namespace {

constexpr size_t kMaxName = 254;

// Records are built in memory and their sizes patched there; the finished file goes to the
// stream in one write.
class Writer {
 public:
  bool Ok() const { return ok_; }
  std::vector<uint8_t>& Bytes() { return out_; }

  void Append(const void* data, size_t size) {
    if (size == 0) return;
    size_t at = out_.size();
    out_.resize(at + size);
    std::memcpy(out_.data() + at, data, size);
  }
  void U32(uint32_t v) {
    uint8_t b[4];
    EncodeU32(b, v);
    Append(b, 4);
  }
  void Patch(size_t at, uint64_t value) {
    if (value > INT32_MAX) ok_ = false;  // the format cannot say it
    EncodeU32(out_.data() + at, static_cast<uint32_t>(value));
  }

  void List(ACSChunk* container, int depth) {
    if (depth > 10000) {
      ok_ = false;
      return;
    }
    // Collect the children, then write each name with the value of the first child of
    // that name, as a lookup by name would find it.
    std::vector<ChildView> children;
    container->ForEachChild([&](const ChildView& v) {
      children.push_back(v);
      return true;
    });
    std::unordered_map<std::string_view, size_t> first;
    first.reserve(children.size());
    for (size_t i = 0; i < children.size(); ++i) first.emplace(children[i].name, i);
    for (const ChildView& named : children) Record(named.name, children[first[named.name]], depth);
  }

 private:
  void Record(std::string_view name, const ChildView& child, int depth) {
    if (name.size() > kMaxName) return;
    size_t start = out_.size();
    U32(0xFFFFFFFFu);
    out_.push_back(static_cast<uint8_t>(name.empty() ? 0 : name.size() + 1));
    if (!name.empty()) {
      Append(name.data(), name.size());
      out_.push_back(0);
    }
    out_.push_back(ChumpCodeForType(child.type));
    if (child.type == kTypeContainer) {
      if (child.chunk) List(child.chunk.Get(), depth + 1);
    } else if (child.type != kTypeNull && child.data && child.size) {
      Append(child.data, child.size);
    }
    Patch(start, out_.size() - start - 4);
  }

  std::vector<uint8_t> out_;
  bool ok_ = true;
};

}  // namespace

bool WriteChump(ACSChunk* root, TStream& stream) {
  Writer w;
  w.U32(0x24534341);  // "ACS$"
  w.U32(1);
  w.U32(0);
  w.U32(0xFFFFFFFFu);
  if (root && root->GetType() == kTypeContainer) w.List(root, 0);
  w.Patch(12, w.Bytes().size() - 16);
  if (!w.Ok()) return false;
  return stream.Write(w.Bytes().data(), w.Bytes().size()) == w.Bytes().size();
}

}  // namespace QETLib
