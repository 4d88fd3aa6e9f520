// A small block of memory shared by every process that maps it under the same name: a
// file in the shared-object folder mapped MAP_SHARED.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Orb {

class SharedMemory {
 public:
  SharedMemory() = default;
  ~SharedMemory();
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  // Creates the block afresh (any old contents are dropped; all bytes zero) and maps it.
  bool Create(const std::string& name, size_t size);
  // Maps an existing block; one that is missing or too short is created or extended
  // with zero bytes.
  bool Attach(const std::string& name, size_t size);
  // The same for a block kept in the file at `path`.
  bool CreateAt(const std::string& path, size_t size);
  bool AttachAt(const std::string& path, size_t size);
  void Close();

  bool IsOpen() const { return data_ != nullptr; }
  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }
  const std::string& FilePath() const { return path_; }

 private:
  bool Map(const std::string& path, size_t size, bool fresh);
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::string path_;
};

}  // namespace Orb
