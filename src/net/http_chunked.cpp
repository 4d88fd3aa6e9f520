#include "net/http_chunked.h"

#include <algorithm>

namespace Net {

namespace {

// A chunk size line or trailer past this is no honest body.
constexpr size_t kMaxLineBytes = 64 * 1024;
// Sizes are kept well below the point where counting them could overflow.
constexpr uint64_t kMaxChunkSize = uint64_t{1} << 56;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ChunkedDecoder::EndSizeLine() {
  if (digits_ == 0) return false;
  if (size_ == 0) {
    step_ = Step::kTrailerStart;
  } else {
    remaining_ = size_;
    step_ = Step::kData;
  }
  line_bytes_ = 0;
  return true;
}

ChunkedDecoder::Result ChunkedDecoder::Feed(const char* data, size_t size, size_t& consumed) {
  consumed = 0;
  if (result_ != Result::kNeedMore) return result_;
  size_t i = 0;
  while (i < size) {
    if (step_ == Step::kData) {
      size_t n = static_cast<size_t>(std::min<uint64_t>(remaining_, size - i));
      if (!sink_(data + i, n)) {
        consumed = i;
        return Stop(Result::kError);
      }
      i += n;
      remaining_ -= n;
      total_ += static_cast<int64_t>(n);
      if (remaining_ == 0) step_ = Step::kDataCR;
      continue;
    }
    char c = data[i++];
    bool ok = true;
    switch (step_) {
      case Step::kSize: {
        int v = HexValue(c);
        if (v >= 0) {
          size_ = size_ * 16 + static_cast<uint64_t>(v);
          ++digits_;
          ok = size_ < kMaxChunkSize;
        } else if (c == ' ' || c == '\t') {
        } else if (c == ';') {
          step_ = Step::kExtension;
        } else if (c == '\r') {
          step_ = Step::kSizeLF;
        } else if (c == '\n') {
          ok = EndSizeLine();
        } else {
          ok = false;
        }
        break;
      }
      case Step::kExtension:
        if (c == '\r') step_ = Step::kSizeLF;
        else if (c == '\n') ok = EndSizeLine();
        else ok = ++line_bytes_ < kMaxLineBytes;
        break;
      case Step::kSizeLF:
        ok = c == '\n' && EndSizeLine();
        break;
      case Step::kDataCR:
        if (c == '\r') step_ = Step::kDataLF;
        else if (c == '\n') StartSize();
        else ok = false;
        break;
      case Step::kDataLF:
        ok = c == '\n';
        StartSize();
        break;
      case Step::kTrailerStart:
        if (c == '\r') {
          step_ = Step::kEndLF;
        } else if (c == '\n') {
          consumed = i;
          return Stop(Result::kDone);
        } else {
          step_ = Step::kTrailer;
          ok = ++line_bytes_ < kMaxLineBytes;
        }
        break;
      case Step::kTrailer:
        if (c == '\r') step_ = Step::kTrailerLF;
        else if (c == '\n') step_ = Step::kTrailerStart;
        else ok = ++line_bytes_ < kMaxLineBytes;
        break;
      case Step::kTrailerLF:
        ok = c == '\n';
        step_ = Step::kTrailerStart;
        break;
      case Step::kEndLF:
        if (c != '\n') {
          ok = false;
          break;
        }
        consumed = i;
        return Stop(Result::kDone);
      case Step::kData:
        break;
    }
    if (!ok) {
      consumed = i;
      return Stop(Result::kError);
    }
  }
  consumed = i;
  return result_;
}

}  // namespace Net
