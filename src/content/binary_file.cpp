// QDBBinaryFile: loading a chump file into one aligned block and validating its records.
#include "content/binary_file.h"

#include <new>

#include "content/coding.h"

namespace QETLib {

namespace {
constexpr std::align_val_t kAlign{16};
constexpr uint32_t kMagic = 0x24534341;  // "ACS$"
}  // namespace

void QDBBinaryFile::AlignedDelete::operator()(uint8_t* p) const { ::operator delete[](p, kAlign); }

void QDBBinaryFile::FreeBlock() {
  block_.reset();
  size_ = 0;
}

bool QDBBinaryFile::Load(TStream& stream) {
  FreeBlock();
  added_.clear();
  removed_.clear();
  edited_ = false;
  uint32_t magic = 0, version = 0, reserved = 0, length = 0;
  if (!stream.ReadU32(magic) || !stream.ReadU32(version) || !stream.ReadU32(reserved) || !stream.ReadU32(length))
    return false;
  version_ = static_cast<int32_t>(version);
  int32_t declared = static_cast<int32_t>(length);
  if (magic != kMagic || declared <= 0) return true;

  // The declared length is checked against the stream before anything is allocated.
  int64_t start = stream.Tell();
  int64_t size = stream.GetSize();
  if (start < 0 || size < 0 || size - start < declared) return true;
  uint8_t* raw = static_cast<uint8_t*>(::operator new[](static_cast<size_t>(declared), kAlign, std::nothrow));
  if (!raw) return true;
  block_.reset(raw);
  size_ = static_cast<uint32_t>(declared);
  size_t got = stream.Read(block_.get(), size_);
  if (got != size_ || stream.Tell() != start + declared || !ValidateList(block_.get(), size_)) FreeBlock();
  return true;
}

ChunkRef QDBBinaryFile::GetRoot() {
  if (!block_ || (version_ != 0 && version_ != 1)) return ACSChunk::NullRef();
  return ChunkRef(new QDBBinarySoup(Ref<QDBBinaryFile>(this), block_.get(), size_));
}

// Each record: S (4), N (1), N name bytes, type code (1), payload of S - N - 2 bytes.
// The name and type byte must fit inside the record (S >= N + 2), so the payload size can
// never come out negative, and the record must fit inside its list. Nested lists are
// checked as they are met, so the block is read front to back once; nesting deeper than
// any real configuration is refused, so neither this check nor a later walk of the tree
// can exhaust the call stack.
static bool ValidateNested(const uint8_t* p, uint64_t length, int depth) {
  uint64_t pos = 0;
  while (length - pos > 5) {
    uint64_t remaining = length - pos;
    const uint8_t* rec = p + pos;
    uint64_t record_size = DecodeU32(rec);
    uint64_t name_size = rec[4];
    if (5 + name_size >= remaining) return false;   // type byte outside the list
    if (record_size > remaining - 4) return false;  // record runs past the list
    if (record_size < name_size + 2) return false;  // name and type overrun the record
    if (rec[5 + name_size] == 0) {
      if (depth >= kMaxChumpDepth) return false;
      if (!ValidateNested(rec + 6 + name_size, record_size - name_size - 2, depth + 1)) return false;
    }
    pos += record_size + 4;
  }
  return true;
}

bool QDBBinaryFile::ValidateList(const uint8_t* p, uint64_t length) { return ValidateNested(p, length, 0); }

}  // namespace QETLib
