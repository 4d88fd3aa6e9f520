// In-memory chunks: `QDBContainerTag`, an ordered list of named children, and
// `QDBDataTag`, a typed value holding one byte block.
#pragma once
#include <utility>
#include <vector>

#include "content/chunk.h"

namespace QETLib {

class QDBContainerTag final : public ACSChunk {
 public:
  QDBContainerTag() = default;
  ChunkRef FindChild(const Orb::PString& name) override;
  ChunkRef GetChild(const Orb::PString& name) override;
  uint32_t GetChildCount() override;
  Orb::PString GetChildName(uint32_t index) override;
  void RemoveAllChildren() override;
  void SwapChildValues(ACSChunk* a, ACSChunk* b) override;
  void AddChild(const Orb::PString& name, ChunkRef chunk) override;
  void RemoveChild(ACSChunk* chunk) override;
  int32_t GetType() override { return kTypeContainer; }
  void ForEachChild(const ChildVisitor& visit) override;

  // The child at `index`, or the null chunk.
  ChunkRef ChildAt(uint32_t index);
  bool HasNamed(const Orb::PString& name) const {
    for (const auto& c : children_)
      if (c.first == name) return true;
    return false;
  }
  // Removes every child named `name`; true when one was there.
  bool RemoveNamed(const Orb::PString& name);
  void Reserve(size_t n) { children_.reserve(n); }

 private:
  std::vector<std::pair<Orb::PString, ChunkRef>> children_;
};

class QDBDataTag final : public ACSChunk {
 public:
  QDBDataTag(int32_t type, DataRef bytes) : type_(type), bytes_(std::move(bytes)) {}
  const uint8_t* GetData() override { return bytes_ ? bytes_->Data() : nullptr; }
  uint32_t GetDataSize() override { return bytes_ ? bytes_->Size() : 0; }
  int32_t GetType() override { return type_; }
  void SetData(int32_t type, DataRef bytes) override {
    type_ = type;
    bytes_ = std::move(bytes);
  }
  DataRef GetDataCore() override { return bytes_; }

 private:
  int32_t type_;
  DataRef bytes_;
};

// New empty in-memory container / value.
ChunkRef NewContainer();
ChunkRef NewValue(int32_t type, DataRef bytes);

}  // namespace QETLib
