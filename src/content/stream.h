// Byte streams of the binary formats: the abstract `TStream`, `TFile` over an engine file
// with a read-ahead buffer, and `TBuffer`, a growable memory stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file.h"

namespace QETLib {

class TStream {
 public:
  enum Origin { kFromStart = 0, kFromCurrent = 1, kFromEnd = 2 };

  virtual ~TStream() = default;
  // Empties the stream: a memory buffer drops its contents, a file is reopened truncated.
  virtual bool Clear() = 0;
  virtual int64_t Tell() = 0;
  virtual bool IsOpen() = 0;
  // Remembers the position, seeks to the end, takes the position, seeks back.
  virtual int64_t GetSize();
  // Number of bytes written / read.
  virtual size_t Write(const void* data, size_t count) = 0;
  virtual size_t Read(void* data, size_t count) = 0;
  virtual bool Seek(int64_t offset, int origin) = 0;
  virtual bool Eof() = 0;

  // Little-endian helpers; each reports whether every byte moved.
  bool WriteU8(uint8_t v) { return Write(&v, 1) == 1; }
  bool WriteU32(uint32_t v);
  bool WriteI32(int32_t v) { return WriteU32(static_cast<uint32_t>(v)); }
  bool WriteBytes(std::string_view bytes) { return Write(bytes.data(), bytes.size()) == bytes.size(); }
  bool ReadU8(uint8_t& v) { return Read(&v, 1) == 1; }
  bool ReadU32(uint32_t& v);
  bool ReadI32(int32_t& v);
};

// A stream over an engine `File`. Reads go through a 4096-byte read-ahead buffer; requests
// of 4080 bytes or more bypass it. Before any write or seek, unread read-ahead bytes are
// given back by seeking the file over them, so the file position always matches Tell().
class TFile final : public TStream {
 public:
  static constexpr size_t kReadAhead = 4096;
  static constexpr size_t kBypass = 4080;

  // Opens (and owns) the file at `path` with an engine open mode (Orb::File::kRead, ...).
  TFile(const std::string& path, int mode);
  // Works on a file the caller keeps open; it is left open, positioned at Tell(), at destruction.
  explicit TFile(Orb::File& file);
  ~TFile() override;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  bool Clear() override;
  int64_t Tell() override;
  bool IsOpen() override;
  size_t Write(const void* data, size_t count) override;
  size_t Read(void* data, size_t count) override;
  bool Seek(int64_t offset, int origin) override;
  bool Eof() override;

  // True once a read or write came up short (set by the first such event, kept until Clear).
  bool Error() const { return error_; }
  void Close();

 private:
  void GiveBackReadAhead();

  std::unique_ptr<Orb::File> owned_;
  Orb::File* file_ = nullptr;
  std::string path_;
  int mode_ = 0;
  std::vector<uint8_t> buffer_;
  size_t buffer_pos_ = 0;  // next unread byte of buffer_
  size_t buffer_len_ = 0;  // valid bytes in buffer_
  bool error_ = false;
};

// A growable memory stream. Writing past the end grows it; seeking past the end is allowed
// and the gap reads as zero bytes once something is written after it.
class TBuffer final : public TStream {
 public:
  TBuffer() = default;
  explicit TBuffer(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}
  explicit TBuffer(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  bool Clear() override;
  int64_t Tell() override { return static_cast<int64_t>(pos_); }
  bool IsOpen() override { return true; }
  int64_t GetSize() override { return static_cast<int64_t>(data_.size()); }
  size_t Write(const void* data, size_t count) override;
  size_t Read(void* data, size_t count) override;
  bool Seek(int64_t offset, int origin) override;
  bool Eof() override { return pos_ >= data_.size(); }

  const uint8_t* Data() const { return data_.data(); }
  size_t Size() const { return data_.size(); }
  std::string_view View() const { return {reinterpret_cast<const char*>(data_.data()), data_.size()}; }
  std::string ToString() const { return std::string(View()); }
  std::vector<uint8_t> Take() { pos_ = 0; return std::move(data_); }
  void Reserve(size_t bytes) { data_.reserve(bytes); }

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace QETLib
