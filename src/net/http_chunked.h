// `ChunkedDecoder`: the state machine that turns a "chunked" HTTP body into its data bytes:
// hexadecimal sizes (blanks ignored, ";" extensions skipped), data, and trailer lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace Net {

class ChunkedDecoder {
 public:
  enum class Result { kNeedMore, kDone, kError };
  // Receives each run of data bytes; false stops decoding with an error.
  using Sink = std::function<bool(const char* data, size_t size)>;

  explicit ChunkedDecoder(Sink sink) : sink_(std::move(sink)) {}

  // Feeds bytes. `consumed` tells how many were used: after kDone the rest belongs to
  // whatever follows the body. After kDone or kError further input is refused.
  Result Feed(const char* data, size_t size, size_t& consumed);

  Result State() const { return result_; }
  int64_t Total() const { return total_; }  // data bytes delivered so far

 private:
  enum class Step { kSize, kExtension, kSizeLF, kData, kDataCR, kDataLF, kTrailerStart, kTrailer, kTrailerLF, kEndLF };
  bool EndSizeLine();
  void StartSize() {
    step_ = Step::kSize;
    size_ = 0;
    digits_ = 0;
  }
  Result Stop(Result r) { return result_ = r; }

  Sink sink_;
  Step step_ = Step::kSize;
  Result result_ = Result::kNeedMore;
  uint64_t size_ = 0;
  int digits_ = 0;
  uint64_t remaining_ = 0;
  int64_t total_ = 0;
  size_t line_bytes_ = 0;  // bounds extensions and trailers
};

}  // namespace Net
