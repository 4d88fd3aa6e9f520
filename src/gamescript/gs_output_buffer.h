// A growable little-endian byte buffer with a write position, for laying out libraries:
// length fields are written as placeholders and patched by seeking back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace GSCompiler {

class GSOutputBuffer {
 public:
  // `limit` bounds the size the buffer may grow to; growing past it fails like an
  // allocation failure would (length fields are 32-bit, so libraries stay below 4 GiB).
  explicit GSOutputBuffer(size_t initial = 1024, size_t limit = 0xFFFFFFFFu);

  void Write(const void* data, size_t size);
  void WriteU8(uint8_t v) { Write(&v, 1); }
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
  void WriteF32(float v);
  void WriteText(std::string_view text) { Write(text.data(), text.size()); }
  // Writes `fill` until the size written since `from` is a multiple of 4.
  void Pad4(size_t from, uint8_t fill);

  // Moves the write position; a position beyond the end fails and sets the error flag.
  bool Seek(size_t position);
  size_t Tell() const { return position_; }
  size_t Size() const { return size_; }
  // Overwrites a u32 at `at`, keeping the write position.
  void PatchU32(size_t at, uint32_t v);

  // Starts a chunk: a length placeholder and the id. Returns where the chunk starts.
  size_t BeginChunk(uint32_t id);
  // Patches the chunk's length (the bytes from its start to the current position).
  void EndChunk(size_t start);

  bool Failed() const { return failed_; }
  std::string_view View() const { return {reinterpret_cast<const char*>(data_.data()), size_}; }
  const uint8_t* Data() const { return data_.data(); }

 private:
  bool Reserve(size_t end);

  std::vector<uint8_t> data_;
  size_t size_ = 0;
  size_t position_ = 0;
  size_t limit_;
  bool failed_ = false;
};

}  // namespace GSCompiler
