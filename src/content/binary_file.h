// The loaded chump file: `QDBBinaryFile` holds the whole record area in one aligned block,
// validates it, and keeps the edit overlay; `QDBBinarySoup` and `QDBDataChunk` are views into it.
#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "content/chunk.h"
#include "content/stream.h"

namespace QETLib {

// Deepest nesting of containers a chump file may hold (and the text reader builds).
constexpr int kMaxChumpDepth = 512;

// An abstract loaded file.
class ACSFile : public ReferenceCountMP {
 public:
  ~ACSFile() override = default;
  virtual bool Load(TStream& stream) = 0;
  virtual void Reserved() {}  // left at the base behaviour
  virtual ChunkRef GetRoot() = 0;
};

class QDBBinaryFile final : public ACSFile {
 public:
  QDBBinaryFile() = default;
  ~QDBBinaryFile() override = default;

  // Reads the header and the record area. Always ends usable: malformed content leaves no
  // block (and GetRoot gives the null chunk). False only when the header itself is unreadable.
  bool Load(TStream& stream) override;
  // The null chunk without a block or for a version other than 0 and 1; else a soup over the block.
  ChunkRef GetRoot() override;

  int32_t Version() const { return version_; }
  uint32_t BlockSize() const { return size_; }
  const uint8_t* Block() const { return block_.get(); }

  // True when the record list [p, p + length) and every nested list validate.
  static bool ValidateList(const uint8_t* p, uint64_t length);

  // The edit overlay shared by all views of this file.
  struct Added {
    const uint8_t* list;  // the record list the entry belongs to
    Orb::PString name;
    ChunkRef chunk;
  };
  std::vector<Added>& AddedEntries() { return added_; }
  std::set<const uint8_t*>& RemovedRecords() { return removed_; }
  bool Edited() const { return edited_; }
  void MarkEdited() { edited_ = true; }

 private:
  struct AlignedDelete {
    void operator()(uint8_t* p) const;
  };
  void FreeBlock();

  int32_t version_ = 0;
  uint32_t size_ = 0;
  std::unique_ptr<uint8_t[], AlignedDelete> block_;  // 16-byte aligned, size_ bytes
  std::vector<Added> added_;
  std::set<const uint8_t*> removed_;
  bool edited_ = false;
};

// A container view of one record list inside a loaded block.
class QDBBinarySoup final : public ACSChunk {
 public:
  QDBBinarySoup(Ref<QDBBinaryFile> file, const uint8_t* list, uint32_t length)
      : file_(std::move(file)), list_(list), length_(length) {}

  ChunkRef FindChild(const Orb::PString& name) override { return GetChild(name); }
  ChunkRef GetChild(const Orb::PString& name) override;
  uint32_t GetChildCount() override;
  Orb::PString GetChildName(uint32_t index) override;
  void AddChild(const Orb::PString& name, ChunkRef chunk) override;
  void RemoveChild(ACSChunk* chunk) override;
  int32_t GetType() override { return kTypeContainer; }
  void ForEachChild(const ChildVisitor& visit) override;

  const uint8_t* List() const { return list_; }

 private:
  ChunkRef ChunkForRecord(const uint8_t* record);

  Ref<QDBBinaryFile> file_;
  const uint8_t* list_;
  uint32_t length_;
};

// A value view of one record's payload inside a loaded block.
class QDBDataChunk final : public ACSChunk {
 public:
  // `payload` is the record's payload; `data`/`size` the value bytes within it.
  QDBDataChunk(Ref<QDBBinaryFile> file, int32_t type, const uint8_t* payload, const uint8_t* data, uint32_t size);
  // A value whose bytes were made from the payload (strings of version-0 files); it still
  // knows its record, so it can be removed like any other view.
  QDBDataChunk(Ref<QDBBinaryFile> file, int32_t type, const uint8_t* payload, DataRef bytes)
      : file_(std::move(file)), bytes_(std::move(bytes)), type_(type), payload_(payload) {}
  const uint8_t* GetData() override { return bytes_ ? bytes_->Data() : nullptr; }
  uint32_t GetDataSize() override { return bytes_ ? bytes_->Size() : 0; }
  int32_t GetType() override { return type_; }
  DataRef GetDataCore() override { return bytes_; }
  const uint8_t* Payload() const { return payload_; }

 private:
  Ref<QDBBinaryFile> file_;
  DataRef bytes_;
  int32_t type_;
  const uint8_t* payload_;
};

}  // namespace QETLib
