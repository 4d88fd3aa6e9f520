// Fuzz target: arbitrary bytes as a chunked HTTP body, fed whole and in pieces whose sizes
// the first byte picks; both feedings must agree on the outcome and the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/http_chunked.h"

namespace {

struct Outcome {
  Net::ChunkedDecoder::Result result;
  std::string data;
  size_t consumed = 0;
};

Outcome Decode(const char* input, size_t size, size_t step) {
  Outcome o{Net::ChunkedDecoder::Result::kNeedMore, {}, 0};
  Net::ChunkedDecoder decoder([&](const char* p, size_t n) {
    o.data.append(p, n);
    return true;
  });
  for (size_t pos = 0; pos < size && o.result == Net::ChunkedDecoder::Result::kNeedMore; pos += step) {
    size_t n = step < size - pos ? step : size - pos;
    size_t used = 0;
    o.result = decoder.Feed(input + pos, n, used);
    if (used > n) std::abort();
    o.consumed = pos + used;
  }
  if (decoder.Total() != static_cast<int64_t>(o.data.size())) std::abort();
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t step = data[0] % 17 + 1;
  const char* body = reinterpret_cast<const char*>(data + 1);
  Outcome whole = Decode(body, size - 1, size);
  Outcome pieces = Decode(body, size - 1, step);
  if (whole.result != pieces.result || whole.data != pieces.data) std::abort();
  if (whole.result == Net::ChunkedDecoder::Result::kDone && whole.consumed != pieces.consumed) std::abort();
  return 0;
}
