// Bump allocator for compiler records (syntax-tree nodes, symbols, names): memory is taken in
// large blocks and released all at once; single records are never freed one by one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace Utils {

class BlockMemory {
 public:
  explicit BlockMemory(size_t blockSize = 64 * 1024) : blockSize_(blockSize) {}
  BlockMemory(const BlockMemory&) = delete;
  BlockMemory& operator=(const BlockMemory&) = delete;

  void* Allocate(size_t size, size_t align = alignof(std::max_align_t)) {
    size_t offset = (used_ + align - 1) & ~(align - 1);
    if (blocks_.empty() || offset + size > capacity_) {
      NewBlock(size + align);
      offset = (used_ + align - 1) & ~(align - 1);
    }
    used_ = offset + size;
    return blocks_.back().get() + offset;
  }

  // Records must be trivially destructible: nothing runs when the memory goes.
  template <typename T>
  T* New() {
    static_assert(std::is_trivially_destructible_v<T>);
    return ::new (Allocate(sizeof(T), alignof(T))) T();
  }

  // Frees every record at once; the first block is kept for reuse.
  void Reset() {
    if (blocks_.size() > 1) blocks_.resize(1);
    if (!blocks_.empty()) capacity_ = firstCapacity_;
    used_ = 0;
  }

  size_t BlockCount() const { return blocks_.size(); }

 private:
  void NewBlock(size_t atLeast) {
    size_t capacity = atLeast > blockSize_ ? atLeast : blockSize_;
    blocks_.push_back(std::make_unique<unsigned char[]>(capacity));
    if (blocks_.size() == 1) firstCapacity_ = capacity;
    capacity_ = capacity;
    used_ = 0;
  }

  size_t blockSize_;
  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  size_t capacity_ = 0;
  size_t firstCapacity_ = 0;
  size_t used_ = 0;
};

}  // namespace Utils
