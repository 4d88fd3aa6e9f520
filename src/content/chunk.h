// The chunk tree behind every tag container: `ACSChunk` nodes (the base class is the shared
// null chunk), value types, and `ACSRawDataCore`, the shared byte block of a value.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "content/ref_count.h"
#include "engine/pstring.h"

namespace QETLib {

// Value types returned by ACSChunk::GetType.
enum ChunkType : int32_t {
  kTypeNull = 0,       // the tag exists but has no value
  kTypeContainer = 1,  // named children
  kTypeBinary = 2,     // any bytes
  kTypeFloat = 3,      // 32-bit IEEE floats, little-endian
  kTypeString = 4,     // characters and one NUL; an empty string has no bytes
  kTypeString5 = 5,    // written like a string; nothing creates it
  kTypeInt = 6,        // signed 32-bit integers, little-endian
  kTypeKUID = 7,       // 8-byte packed KUIDs
};

// A byte block: owned bytes (held in the same allocation as the block, freed with it) or
// bytes borrowed from an owner object that the block keeps alive. Never made for 0 bytes
// or a missing pointer.
class ACSRawDataCore final : public ReferenceCountMP {
 public:
  // A copy of `size` bytes; none when size is 0 or data is missing.
  static Ref<ACSRawDataCore> Copy(const void* data, size_t size);
  // A block of `size` owned bytes for the caller to fill.
  static Ref<ACSRawDataCore> Allocate(size_t size);
  // Bytes inside `owner`'s memory; `owner` stays alive while the block lives.
  static Ref<ACSRawDataCore> Borrow(const void* data, size_t size, Ref<ReferenceCountMP> owner);

  ~ACSRawDataCore() override = default;
  const uint8_t* Data() const { return data_; }
  uint8_t* MutableData() { return owned_ ? const_cast<uint8_t*>(data_) : nullptr; }  // owned blocks only
  uint32_t Size() const { return size_; }
  bool Owned() const { return owned_; }
  std::string_view View() const { return {reinterpret_cast<const char*>(data_), size_}; }

  // Owned bytes follow the object in one allocation.
  static void* operator new(size_t base, size_t extra);
  static void operator delete(void* p, size_t extra);  // when a constructor throws
  static void operator delete(void* p);

 private:
  ACSRawDataCore(const uint8_t* data, uint32_t size, bool owned, Ref<ReferenceCountMP> owner)
      : data_(owned ? reinterpret_cast<const uint8_t*>(this) + kHeader : data),
        size_(size),
        owned_(owned),
        owner_(std::move(owner)) {}
  static constexpr size_t kHeader = 48;  // object size rounded up to keep owned bytes 16-aligned
  const uint8_t* data_;
  uint32_t size_;
  bool owned_;
  Ref<ReferenceCountMP> owner_;
};

using DataRef = Ref<ACSRawDataCore>;

class ACSChunk;
using ChunkRef = Ref<ACSChunk>;

// One child as seen by ACSChunk::ForEachChild: its name, type and value bytes; `chunk` is
// filled for nested containers (and wherever the child is already an object).
struct ChildView {
  std::string_view name;
  int32_t type = kTypeNull;
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  ChunkRef chunk;  // nested container, or the child itself when it exists as an object
};
using ChildVisitor = std::function<bool(const ChildView&)>;  // false stops the walk

// A node of the tree. The base class is the null chunk: type 0, no children, no data, every
// changing operation does nothing. Virtual operations keep this slot order.
class ACSChunk : public ReferenceCountMP {
 public:
  ~ACSChunk() override = default;
  virtual ChunkRef FindChild(const Orb::PString& name);
  virtual ChunkRef GetChild(const Orb::PString& name);
  virtual uint32_t GetChildCount();
  virtual Orb::PString GetChildName(uint32_t index);  // the empty name when out of range
  virtual void RemoveAllChildren();
  // Exchanges the chunks held at the places of `a` and `b`; names stay where they are.
  virtual void SwapChildValues(ACSChunk* a, ACSChunk* b);
  virtual void AddChild(const Orb::PString& name, ChunkRef chunk);
  virtual void RemoveChild(ACSChunk* chunk);  // by identity
  // A new in-memory container for type 1, else a new in-memory value holding `bytes`.
  virtual ChunkRef CreateChunk(int32_t type, DataRef bytes);
  virtual const uint8_t* GetData();
  virtual uint32_t GetDataSize();
  virtual int32_t GetType();
  virtual void SetData(int32_t type, DataRef bytes);

  // Added after the fixed slots: the byte block of the value (none for containers), and a
  // walk over all children in order without a lookup per index.
  virtual DataRef GetDataCore();
  virtual void ForEachChild(const ChildVisitor& visit);

  // The one shared null chunk, made on first use; test for it by identity.
  static ACSChunk* Null();
  static ChunkRef NullRef() { return ChunkRef(Null()); }
  bool IsNull() const { return this == Null(); }

 protected:
  ACSChunk() = default;
  friend ChunkRef MakeNullChunk();
};

inline bool IsNullChunk(const ChunkRef& c) { return !c || c.Get() == ACSChunk::Null(); }

}  // namespace QETLib
