// Bump allocator for compiler records (syntax-tree nodes, symbols, names): memory is taken in
// blocks that grow geometrically and is released all at once; records are never freed singly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

namespace Utils {

class BlockMemory {
 public:
  explicit BlockMemory(size_t blockSize = 64 * 1024) : blockSize_(blockSize), nextSize_(blockSize) {}
  BlockMemory(const BlockMemory&) = delete;
  BlockMemory& operator=(const BlockMemory&) = delete;
  ~BlockMemory() {
    for (auto& b : blocks_) std::free(b.memory);
  }

  void* Allocate(size_t size, size_t align = alignof(std::max_align_t)) {
    size_t offset = (used_ + align - 1) & ~(align - 1);
    if (blocks_.empty() || offset + size > blocks_.back().capacity) {
      NewBlock(size + align);
      offset = 0;
    }
    used_ = offset + size;
    return blocks_.back().memory + offset;
  }

  // Records must be trivially destructible: nothing runs when the memory goes.
  template <typename T>
  T* New() {
    static_assert(std::is_trivially_destructible_v<T>);
    return ::new (Allocate(sizeof(T), alignof(T))) T();
  }

  // Frees every record at once; the first block is kept for reuse.
  void Reset() {
    while (blocks_.size() > 1) {
      std::free(blocks_.back().memory);
      blocks_.pop_back();
    }
    nextSize_ = blockSize_;
    used_ = 0;
  }

  size_t BlockCount() const { return blocks_.size(); }

 private:
  struct Block {
    unsigned char* memory;
    size_t capacity;
  };
  static constexpr size_t kHugePage = 2 * 1024 * 1024;
  static constexpr size_t kMaxBlock = 16 * 1024 * 1024;

  // Large trees get large, huge-page-aligned blocks: far fewer page faults per node.
  void NewBlock(size_t atLeast) {
    size_t capacity = atLeast > nextSize_ ? atLeast : nextSize_;
    if (nextSize_ < kMaxBlock) nextSize_ *= 2;
    void* memory;
    if (capacity >= kHugePage) {
      capacity = (capacity + kHugePage - 1) & ~(kHugePage - 1);
      memory = std::aligned_alloc(kHugePage, capacity);
      if (memory) AdviseHuge(memory, capacity);
    } else {
      memory = std::malloc(capacity);
    }
    if (!memory) throw std::bad_alloc();
    blocks_.push_back(Block{static_cast<unsigned char*>(memory), capacity});
    used_ = 0;
  }
  static void AdviseHuge(void* memory, size_t size);

  size_t blockSize_;
  size_t nextSize_;
  std::vector<Block> blocks_;
  size_t used_ = 0;
};

}  // namespace Utils
