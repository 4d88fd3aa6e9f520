// QDBBinarySoup and QDBDataChunk: zero-copy views of a loaded chump block, with the
// file's edit overlay of added entries and removed records.
#include <algorithm>
#include <cstring>

#include "content/binary_file.h"
#include "content/codepage.h"
#include "content/coding.h"

namespace QETLib {

namespace {

// One stored record of a validated list.
struct Record {
  const uint8_t* at;
  std::string_view name;
  uint8_t code;
  const uint8_t* payload;
  uint32_t payload_size;
};

Record Decode(const uint8_t* at) {
  uint32_t s = DecodeU32(at);
  uint8_t n = at[4];
  const char* name = reinterpret_cast<const char*>(at + 5);
  // The name is its N bytes less the terminating NUL (all N when the NUL is missing).
  size_t name_len = (n && name[n - 1] == '\0') ? n - 1u : n;
  return Record{at, std::string_view(name, name_len), at[5 + n], at + 6 + n, s - n - 2u};
}

// Calls `f` for each stored record of the list not in the removed set; stops when f is false.
template <typename F>
void WalkRecords(const uint8_t* list, uint32_t length, const std::set<const uint8_t*>& removed, F&& f) {
  uint32_t pos = 0;
  bool check_removed = !removed.empty();
  while (length - pos > 5) {
    const uint8_t* at = list + pos;
    uint32_t s = DecodeU32(at);
    if (!check_removed || !removed.count(at)) {
      if (!f(Decode(at))) return;
    }
    pos += s + 4;
  }
}

// Type and bytes a record's code reads as (strings of version-0 files excepted).
struct Value {
  int32_t type;
  const uint8_t* data;
  uint32_t size;
};

Value ValueOf(const Record& r) {
  switch (r.code) {
    case 1: return {kTypeInt, r.payload, r.payload_size};
    case 2: return {kTypeFloat, r.payload, r.payload_size};
    case 3: return {kTypeString, r.payload, r.payload_size};
    case 4: return {kTypeBinary, r.payload, r.payload_size};
    case 13: return {kTypeKUID, r.payload, r.payload_size};
    case 12: {
      // Padding up to the next 16-byte boundary of the block (held 16-byte aligned).
      uint32_t pad = static_cast<uint32_t>((16 - (reinterpret_cast<uintptr_t>(r.payload) & 15)) & 15);
      if (pad >= r.payload_size) return {kTypeBinary, nullptr, 0};
      return {kTypeBinary, r.payload + pad, r.payload_size - pad};
    }
    default: return {kTypeNull, nullptr, 0};
  }
}

// A string of a version-0 file: the text up to its first NUL, converted from the old code
// page when it holds bytes of 0x80 and above, with one NUL.
ChunkRef OldString(const Ref<QDBBinaryFile>& file, const Record& r) {
  const char* p = reinterpret_cast<const char*>(r.payload);
  std::string_view text(p, strnlen(p, r.payload_size));
  std::string converted = HasHighBytes(text) ? Windows1252ToUtf8(text) : std::string(text);
  converted.push_back('\0');
  return ChunkRef(new QDBDataChunk(file, kTypeString, r.payload, ACSRawDataCore::Copy(converted.data(), converted.size())));
}

}  // namespace

QDBDataChunk::QDBDataChunk(Ref<QDBBinaryFile> file, int32_t type, const uint8_t* payload, const uint8_t* data,
                           uint32_t size)
    : file_(std::move(file)), type_(type), payload_(payload) {
  bytes_ = ACSRawDataCore::Borrow(data, size, Ref<ReferenceCountMP>(file_.Get()));
}

ChunkRef QDBBinarySoup::ChunkForRecord(const uint8_t* at) {
  Record r = Decode(at);
  if (r.code == 0) return ChunkRef(new QDBBinarySoup(file_, r.payload, r.payload_size));
  if (r.code == 3 && file_->Version() == 0 && r.payload_size > 0) return OldString(file_, r);
  Value v = ValueOf(r);
  // A view always remembers its payload, so RemoveChild can find the record again.
  return ChunkRef(new QDBDataChunk(file_, v.type, r.payload, v.data, v.size));
}

ChunkRef QDBBinarySoup::GetChild(const Orb::PString& name) {
  std::string_view wanted = name.View();
  const uint8_t* found = nullptr;
  WalkRecords(list_, length_, file_->RemovedRecords(), [&](const Record& r) {
    if (r.name != wanted) return true;
    found = r.at;
    return false;
  });
  if (found) return ChunkForRecord(found);
  for (const auto& a : file_->AddedEntries())
    if (a.list == list_ && a.name == name) return a.chunk;
  return NullRef();
}

uint32_t QDBBinarySoup::GetChildCount() {
  uint32_t count = 0;
  WalkRecords(list_, length_, file_->RemovedRecords(), [&](const Record&) {
    ++count;
    return true;
  });
  for (const auto& a : file_->AddedEntries())
    if (a.list == list_) ++count;
  return count;
}

Orb::PString QDBBinarySoup::GetChildName(uint32_t index) {
  uint32_t i = 0;
  std::string_view name;
  bool found = false;
  WalkRecords(list_, length_, file_->RemovedRecords(), [&](const Record& r) {
    if (i++ != index) return true;
    name = r.name;
    found = true;
    return false;
  });
  if (found) return Orb::PString(name);
  for (const auto& a : file_->AddedEntries()) {
    if (a.list != list_) continue;
    if (i++ == index) return a.name;
  }
  return {};
}

void QDBBinarySoup::AddChild(const Orb::PString& name, ChunkRef chunk) {
  if (!chunk) chunk = NullRef();
  auto& added = file_->AddedEntries();
  for (const auto& a : added)
    if (a.list == list_ && a.chunk == chunk) return;
  added.push_back({list_, name, std::move(chunk)});
  file_->MarkEdited();
}

void QDBBinarySoup::RemoveChild(ACSChunk* chunk) {
  auto& added = file_->AddedEntries();
  auto it = std::find_if(added.begin(), added.end(), [&](const auto& a) { return a.list == list_ && a.chunk.Get() == chunk; });
  if (it != added.end()) {
    added.erase(it);
    return;
  }
  // A view of a stored record is found by where its payload lies.
  const uint8_t* payload = nullptr;
  if (auto* data = dynamic_cast<QDBDataChunk*>(chunk)) payload = data->Payload();
  if (auto* soup = dynamic_cast<QDBBinarySoup*>(chunk)) payload = soup->List();
  if (!payload) return;
  const uint8_t* record = nullptr;
  WalkRecords(list_, length_, file_->RemovedRecords(), [&](const Record& r) {
    if (r.payload != payload) return true;
    record = r.at;
    return false;
  });
  if (record) {
    file_->RemovedRecords().insert(record);
    file_->MarkEdited();
  }
}

void QDBBinarySoup::ForEachChild(const ChildVisitor& visit) {
  bool go_on = true;
  bool old_strings = file_->Version() == 0;
  WalkRecords(list_, length_, file_->RemovedRecords(), [&](const Record& r) {
    ChildView view;
    view.name = r.name;
    if (r.code == 0) {
      view.type = kTypeContainer;
      view.chunk = ChunkRef(new QDBBinarySoup(file_, r.payload, r.payload_size));
    } else if (r.code == 3 && old_strings && r.payload_size > 0) {
      view.chunk = OldString(file_, r);
      view.type = kTypeString;
      view.data = view.chunk->GetData();
      view.size = view.chunk->GetDataSize();
    } else {
      Value v = ValueOf(r);
      view.type = v.type;
      view.data = v.data;
      view.size = v.size;
    }
    go_on = visit(view);
    return go_on;
  });
  if (!go_on) return;
  // Copy first: a visitor may change the overlay.
  std::vector<QDBBinaryFile::Added> added;
  for (const auto& a : file_->AddedEntries())
    if (a.list == list_) added.push_back(a);
  for (const auto& a : added) {
    ChildView view;
    view.name = a.name.View();
    view.chunk = a.chunk;
    view.type = a.chunk->GetType();
    view.data = a.chunk->GetData();
    view.size = a.chunk->GetDataSize();
    if (!visit(view)) return;
  }
}

}  // namespace QETLib
