// Reading and writing the asset index file.
#include "database/index_file.h"

#include <climits>
#include <cstring>

#include "content/coding.h"
#include "content/stream_obfuscated.h"
#include "database/index_extras_codec.h"
#include "database/index_record_codec.h"
#include "engine/file.h"

namespace QETLib {

namespace {

constexpr size_t kHeaderBytes = 12;
constexpr int32_t kFirstSeededVersion = 34;

// Parses the body (after the header, and after the seed for seeded versions) into `index`.
bool ReadBody(AssetIndex& index, IndexReader& reader, int32_t version) {
  int32_t count = reader.I32();
  size_t min_record = MinimumRecordBytes(version);
  if (reader.Failed() || count < 0 || static_cast<uint64_t>(count) > reader.Remaining() / min_record) return false;
  index.ReserveRecords(static_cast<size_t>(count));
  RecordScratch scratch;
  const int32_t stamp = index.CurrentStamp();
  for (int32_t i = 0; i < count; ++i) {
    auto record = std::make_unique<AssetRecord>();
    ReadRecord(reader, version, stamp, scratch, *record);
    if (reader.Failed()) return false;
    index.AppendUnsorted(std::move(record));
  }
  if (!ReadIndexExtras(reader, version, index.Extras())) return false;
  index.FinishAppending();
  return true;
}

// Header checks shared by both read paths; `size` is the whole file's length.
bool CheckHeader(const uint8_t* header, uint64_t size, int32_t& version) {
  if (size < kHeaderBytes) return false;
  if (DecodeU32(header) != kIndexMagic) return false;
  version = static_cast<int32_t>(DecodeU32(header + 4));
  if (!IsReadableIndexVersion(version)) return false;
  return static_cast<uint64_t>(DecodeU32(header + 8)) == size;
}

// Runs a read into a cleared index, keeping the validation-level rule and the failure rule.
template <typename ReadFn>
bool ReplaceIndex(AssetIndex& index, ReadFn read) {
  int32_t level_before = index.ValidationLevel();
  index.Clear();
  if (!read()) {
    index.Clear();
    return false;
  }
  if (index.ValidationLevel() != level_before) index.RaiseChangeFlags(kChangeValidationLevel);
  return true;
}

}  // namespace

bool IsReadableIndexVersion(int32_t version) {
  return version >= kOldestIndexVersion && version <= kIndexVersion && version != 37 && version != 39;
}

bool ReadIndexImage(AssetIndex& index, const uint8_t* data, size_t size) {
  return ReplaceIndex(index, [&] {
    int32_t version;
    if (!CheckHeader(data, size, version)) return false;
    if (version < kFirstSeededVersion) {
      IndexReader reader(data + kHeaderBytes, size - kHeaderBytes);
      return ReadBody(index, reader, version);
    }
    if (size < kHeaderBytes + 4) return false;
    std::vector<uint8_t> body(data + kHeaderBytes + 4, data + size);
    ObfuscationKey key(DecodeU32(data + kHeaderBytes));
    key.Unscramble(body.data(), body.size(), kHeaderBytes + 4);
    IndexReader reader(body.data(), body.size());
    return ReadBody(index, reader, version);
  });
}

bool ReadIndexFile(AssetIndex& index, const std::string& path) {
  return ReplaceIndex(index, [&] {
    TFile file(path, Orb::File::kRead);
    if (!file.IsOpen()) return false;
    int64_t size = file.GetSize();
    uint8_t header[kHeaderBytes];
    if (size < static_cast<int64_t>(kHeaderBytes) || file.Read(header, kHeaderBytes) != kHeaderBytes) return false;
    int32_t version;
    if (!CheckHeader(header, static_cast<uint64_t>(size), version)) return false;
    uint64_t body_bytes = static_cast<uint64_t>(size) - kHeaderBytes;
    if (version < kFirstSeededVersion) {
      IndexReader reader([&](uint8_t* out, size_t n) { return file.Read(out, n); }, body_bytes);
      return ReadBody(index, reader, version);
    }
    TStreamObfuscated body;
    if (body_bytes < 4 || !body.Open(&file, TStreamObfuscated::kScrambled, TStreamObfuscated::kReading)) return false;
    IndexReader reader([&](uint8_t* out, size_t n) { return body.Read(out, n); }, body_bytes - 4);
    return ReadBody(index, reader, version);
  });
}

namespace {

// Writes the header, the seed and the scrambled body to `out`, then patches the length word.
bool WriteImage(AssetIndex& index, TStream& out) {
  index.SettleDependencyStates();  // the file keeps only states that still hold
  IndexExtras& extras = index.Extras();
  ++extras.generation[3];

  if (!out.WriteU32(kIndexMagic) || !out.WriteI32(kIndexVersion) || !out.WriteI32(0)) return false;
  TStreamObfuscated scrambled;
  if (!scrambled.Open(&out, TStreamObfuscated::kScrambled, TStreamObfuscated::kWriting)) return false;
  IndexWriter body([&](std::string_view bytes) { return scrambled.Write(bytes.data(), bytes.size()) == bytes.size(); },
                   1 << 20);
  body.I32(static_cast<int32_t>(index.Size()));
  const int32_t stamp = index.CurrentStamp();
  index.ForEach([&](const AssetRecord& record) {
    WriteRecord(body, record, stamp);
    body.MaybeFlush();
  });
  WriteIndexExtras(body, extras);
  if (!body.Flush()) return false;

  int64_t length = out.Tell();
  if (length < 0 || length > INT32_MAX) return false;
  return out.Seek(8, TStream::kFromStart) && out.WriteI32(static_cast<int32_t>(length)) &&
         out.Seek(0, TStream::kFromEnd);
}

}  // namespace

std::string IndexImage(AssetIndex& index) {
  TBuffer out;
  WriteImage(index, out);
  return out.ToString();
}

bool WriteIndexFile(AssetIndex& index, const std::string& path) {
  Orb::File raw;
  if (!raw.Open(path, Orb::File::kCreate)) return false;
  bool ok;
  {
    TFile file(raw);
    ok = WriteImage(index, file) && !file.Error();
  }
  // On disk before the caller renames it over the good file.
  return raw.Sync() && ok;
}

}  // namespace QETLib
