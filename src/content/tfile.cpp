// TFile: a TStream over an engine File with a 4096-byte read-ahead buffer and an error flag.
#include <algorithm>
#include <cstring>

#include "content/stream.h"

namespace QETLib {

TFile::TFile(const std::string& path, int mode)
    : owned_(std::make_unique<Orb::File>()), path_(path), mode_(mode) {
  if (owned_->Open(path, mode)) file_ = owned_.get();
}

TFile::TFile(Orb::File& file) : file_(&file) {}

TFile::~TFile() { Close(); }

void TFile::Close() {
  if (!file_) return;
  GiveBackReadAhead();
  if (owned_) owned_->Close();
  file_ = nullptr;
}

void TFile::GiveBackReadAhead() {
  if (file_ && buffer_pos_ < buffer_len_) {
    int64_t unread = static_cast<int64_t>(buffer_len_ - buffer_pos_);
    file_->Seek(file_->Tell() - unread);
  }
  buffer_pos_ = buffer_len_ = 0;
}

bool TFile::Clear() {
  buffer_pos_ = buffer_len_ = 0;
  error_ = false;
  if (!owned_) {
    // A borrowed file cannot be reopened; start it over by position only.
    return file_ && file_->Seek(0);
  }
  if (mode_ == Orb::File::kRead) return false;
  file_ = nullptr;
  if (!owned_->Open(path_, Orb::File::kCreate)) return false;
  owned_->Close();
  if (!owned_->Open(path_, mode_)) return false;
  file_ = owned_.get();
  return true;
}

int64_t TFile::Tell() {
  if (!file_) return -1;
  int64_t pos = file_->Tell();
  if (pos < 0) return -1;
  return pos - static_cast<int64_t>(buffer_len_ - buffer_pos_);
}

bool TFile::IsOpen() { return file_ && file_->IsOpen(); }

size_t TFile::Write(const void* data, size_t count) {
  if (!file_) {
    error_ = true;
    return 0;
  }
  GiveBackReadAhead();
  if (count == 0) return 0;
  if (!file_->Write(data, count)) {
    error_ = true;
    return 0;
  }
  return count;
}

size_t TFile::Read(void* data, size_t count) {
  if (!file_) {
    error_ = true;
    return 0;
  }
  uint8_t* out = static_cast<uint8_t*>(data);
  size_t done = 0;
  size_t avail = buffer_len_ - buffer_pos_;
  if (avail > 0) {
    size_t n = std::min(avail, count);
    std::memcpy(out, buffer_.data() + buffer_pos_, n);
    buffer_pos_ += n;
    done = n;
  }
  if (done < count) {
    size_t rest = count - done;
    if (rest >= kBypass) {
      buffer_pos_ = buffer_len_ = 0;  // the drained read-ahead no longer lies before the position
      int64_t n = file_->Read(out + done, rest);
      if (n > 0) done += static_cast<size_t>(n);
    } else {
      if (buffer_.size() != kReadAhead) buffer_.resize(kReadAhead);
      int64_t n = file_->Read(buffer_.data(), kReadAhead);
      buffer_pos_ = 0;
      buffer_len_ = n > 0 ? static_cast<size_t>(n) : 0;
      size_t take = std::min(rest, buffer_len_);
      std::memcpy(out + done, buffer_.data(), take);
      buffer_pos_ = take;
      done += take;
    }
  }
  if (done < count) error_ = true;
  return done;
}

bool TFile::Seek(int64_t offset, int origin) {
  if (!file_) return false;
  int64_t target;
  switch (origin) {
    case kFromStart: target = offset; break;
    case kFromCurrent: target = Tell() + offset; break;
    case kFromEnd: target = file_->Size() + offset; break;
    default: return false;
  }
  if (target < 0) return false;
  // A seek inside the read-ahead just moves within it.
  int64_t buffer_start = file_->Tell() - static_cast<int64_t>(buffer_len_);
  if (buffer_len_ > 0 && target >= buffer_start && target <= buffer_start + static_cast<int64_t>(buffer_len_)) {
    buffer_pos_ = static_cast<size_t>(target - buffer_start);
    return true;
  }
  buffer_pos_ = buffer_len_ = 0;
  return file_->Seek(target);
}

bool TFile::Eof() {
  if (!file_) return true;
  if (buffer_pos_ < buffer_len_) return false;
  return Tell() >= file_->Size();
}

}  // namespace QETLib
