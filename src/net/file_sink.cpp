#include "net/file_sink.h"

#include <cstring>

namespace Net {

namespace {
// Writes of this size into the page cache proved steadier than larger ones.
constexpr size_t kBufferSize = 32 * 1024;
}

bool FileSink::Open(const std::string& path, bool append) {
  Finish();
  failed_ = false;
  written_ = 0;
  used_ = 0;
  buffer_.resize(kBufferSize);
  return file_.Open(path, append ? Orb::File::kAppend : Orb::File::kCreate);
}

bool FileSink::Flush() {
  if (used_ == 0) return !failed_;
  if (!file_.IsOpen() || !file_.Write(buffer_.data(), used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

bool FileSink::Write(const char* data, size_t size) {
  if (failed_ || !file_.IsOpen()) return false;
  written_ += static_cast<int64_t>(size);
  if (used_ + size > buffer_.size()) {
    if (!Flush()) return false;
    if (size >= buffer_.size()) {
      if (!file_.Write(data, size)) failed_ = true;
      return !failed_;
    }
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return true;
}

bool FileSink::Finish() {
  if (!file_.IsOpen()) return !failed_;
  bool ok = Flush();
  file_.Close();
  return ok;
}

}  // namespace Net
