#include "engine/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/named_mutex.h"

namespace Orb {

SharedMemory::~SharedMemory() { Close(); }

bool SharedMemory::Create(const std::string& name, size_t size) { return Map(SharedObjectPath(name, "shm"), size, true); }

bool SharedMemory::Attach(const std::string& name, size_t size) {
  return Map(SharedObjectPath(name, "shm"), size, false);
}

bool SharedMemory::CreateAt(const std::string& path, size_t size) { return Map(path, size, true); }
bool SharedMemory::AttachAt(const std::string& path, size_t size) { return Map(path, size, false); }

bool SharedMemory::Map(const std::string& path, size_t size, bool fresh) {
  Close();
  if (size == 0) return false;
  path_ = path;
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && fresh) ok = ::ftruncate(fd, 0) == 0;  // drops whatever a crashed run left
  if (ok && (fresh || static_cast<size_t>(st.st_size) < size)) ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  void* mapped = ok ? ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
  ::close(fd);  // the mapping keeps the file alive
  if (mapped == MAP_FAILED) return false;
  data_ = static_cast<uint8_t*>(mapped);
  size_ = size;
  return true;
}

void SharedMemory::Close() {
  if (data_) ::munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace Orb
