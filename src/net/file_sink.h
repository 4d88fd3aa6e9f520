// `FileSink`: the local file a transfer writes into, with a large write buffer so that
// the small pieces the protocols deliver do not each cost a system call.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/file.h"

namespace Net {

class FileSink {
 public:
  FileSink() = default;
  ~FileSink() { Finish(); }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates the file anew, or opens it for appending.
  bool Open(const std::string& path, bool append);
  // False when the bytes could not be written (a short write counts as a failure).
  bool Write(const char* data, size_t size);
  // Writes what is buffered and closes; false when anything could not be written.
  bool Finish();
  int64_t Written() const { return written_; }

 private:
  bool Flush();
  Orb::File file_;
  std::vector<char> buffer_;
  size_t used_ = 0;
  int64_t written_ = 0;
  bool failed_ = false;
};

}  // namespace Net
