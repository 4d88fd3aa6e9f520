// The body of an HTTP reply: chunked, by content length, or until the peer closes.
#include "engine/text.h"
#include "net/file_sink.h"
#include "net/http_chunked.h"
#include "net/http_connection.h"

namespace Net {

namespace {
constexpr size_t kChunkBlock = 1024;  // chunked bodies are decoded a block at a time
constexpr size_t kPiece = 512;        // other bodies arrive in pieces of this size
}  // namespace

template <typename Sink>
bool HTTPConnection::ReadChunked(Sink& sink) {
  ChunkedDecoder decoder([&](const char* data, size_t size) {
    transferred_.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
    return sink(data, size);
  });
  char block[kChunkBlock];
  for (;;) {
    int64_t n = transport_->Read(block, sizeof block);
    if (n <= 0) {
      close_ = true;
      return Fail(Orb::Format("the chunked body ended early after %lld bytes", static_cast<long long>(decoder.Total())));
    }
    size_t used = 0;
    ChunkedDecoder::Result r = decoder.Feed(block, static_cast<size_t>(n), used);
    if (r == ChunkedDecoder::Result::kDone) {
      transport_->Unread(block + used, static_cast<size_t>(n) - used);
      expected_.store(decoder.Total());
      return true;
    }
    if (r == ChunkedDecoder::Result::kError) {
      close_ = true;
      return Fail("malformed chunked body, or the file could not be written");
    }
  }
}

template <typename Sink>
bool HTTPConnection::ReadCounted(Sink& sink, int64_t length) {
  char piece[kPiece];
  int64_t done = 0;
  while (done < length) {
    size_t want = static_cast<size_t>(std::min<int64_t>(kPiece, length - done));
    int64_t n = transport_->Read(piece, want);
    if (n <= 0) {
      close_ = true;
      return Fail(Orb::Format("the connection ended after %lld of %lld bytes", static_cast<long long>(done),
                              static_cast<long long>(length)));
    }
    if (!sink(piece, static_cast<size_t>(n))) return Fail("cannot write the file");
    done += n;
    transferred_.store(done, std::memory_order_relaxed);
  }
  return true;
}

template <typename Sink>
bool HTTPConnection::ReadUntilClose(Sink& sink) {
  char piece[kPiece];
  int64_t done = 0;
  for (;;) {
    int64_t n = transport_->Read(piece, sizeof piece);
    if (n == 0) break;
    if (n < 0) {
      close_ = true;
      return Fail(Orb::Format("the connection failed after %lld bytes", static_cast<long long>(done)));
    }
    if (!sink(piece, static_cast<size_t>(n))) return Fail("cannot write the file");
    done += n;
    transferred_.store(done, std::memory_order_relaxed);
  }
  close_ = true;
  expected_.store(done);
  return true;
}

template <typename Sink>
bool HTTPConnection::ReadBody(Sink& sink) {
  if (!RequireOpen()) return false;
  // These replies never carry a body; waiting for one on a kept-alive connection would
  // wait for ever.
  if (status_code_ == 204 || status_code_ == 304) return true;
  if (Orb::EqualsIgnoreCase(transfer_encoding_, "chunked")) return ReadChunked(sink);
  if (content_length_ >= 0) return ReadCounted(sink, content_length_);
  return ReadUntilClose(sink);
}

bool HTTPConnection::ReadBodyToFile(const std::string& path) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  FileSink file;
  if (!file.Open(path, false)) return Fail("cannot create " + path);
  auto sink = [&file](const char* data, size_t size) { return file.Write(data, size); };
  bool ok = ReadBody(sink);
  if (!file.Finish() && ok) ok = Fail("cannot write " + path);
  return ok;
}

bool HTTPConnection::SkipBody() {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  auto sink = [](const char*, size_t) { return true; };
  return ReadBody(sink);
}

}  // namespace Net
