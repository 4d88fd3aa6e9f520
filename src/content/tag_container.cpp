// TagContainer: typed getters and setters over the root chunk, and load/save by form.
#include "content/tag_container.h"

#include <cstring>

#include "content/chump.h"
#include "content/chunk_memory.h"
#include "content/coding.h"
#include "content/converters.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

TagContainer::TagContainer(ChunkRef root) : root_(std::move(root)) {
  if (root_ && root_->GetType() != kTypeContainer) root_.Reset();
}

void TagContainer::MakeWritable() {
  if (root_ && dynamic_cast<QDBContainerTag*>(root_.Get())) return;
  ChunkRef copy = NewContainer();
  if (root_) {
    root_->ForEachChild([&](const ChildView& v) {
      ChunkRef child = v.chunk ? v.chunk : copy->CreateChunk(v.type, ACSRawDataCore::Copy(v.data, v.size));
      copy->AddChild(Orb::PString(v.name), child);
      return true;
    });
  }
  root_ = copy;
}

ACSChunk* TagContainer::Writable() {
  if (!root_ || root_->IsNull()) root_ = NewContainer();
  return root_.Get();
}

ChunkRef TagContainer::GetChunk(std::string_view name) const {
  if (!root_) return ACSChunk::NullRef();
  ChunkRef c = root_->FindChild(Orb::PString(name));
  return c ? c : ACSChunk::NullRef();
}

namespace {

// The value of `chunk` as `type`, or none.
DataRef As(const ChunkRef& chunk, int32_t type) {
  if (IsNullChunk(chunk) || chunk->GetType() == kTypeNull) return {};
  return ConvertValue(chunk->GetType(), chunk->GetDataCore(), type);
}

}  // namespace

bool TagContainer::HasTag(std::string_view name) const {
  ChunkRef c = GetChunk(name);
  if (IsNullChunk(c)) return false;
  return c->GetType() == kTypeContainer || c->GetDataSize() > 0;
}

int32_t TagContainer::GetInt(std::string_view name, int32_t def) const {
  DataRef d = As(GetChunk(name), kTypeInt);
  return d && d->Size() >= 4 ? static_cast<int32_t>(DecodeU32(d->Data())) : def;
}

float TagContainer::GetFloat(std::string_view name, float def) const {
  DataRef d = As(GetChunk(name), kTypeFloat);
  return d && d->Size() >= 4 ? DecodeFloat(d->Data()) : def;
}

bool TagContainer::GetBool(std::string_view name, bool def) const {
  DataRef d = As(GetChunk(name), kTypeInt);
  return d && d->Size() >= 4 ? DecodeU32(d->Data()) != 0 : def;
}

KUID TagContainer::GetKUID(std::string_view name, const KUID& def) const {
  DataRef d = As(GetChunk(name), kTypeKUID);
  return d && d->Size() >= 8 ? KUID::FromChumpBytes(d->Data()) : def;
}

std::string TagContainer::GetText(std::string_view name) const {
  return std::string(StringOf(As(GetChunk(name), kTypeString)));
}

std::vector<float> TagContainer::GetFloatList(std::string_view name) const {
  std::vector<float> out;
  DataRef d = As(GetChunk(name), kTypeFloat);
  for (uint32_t i = 0; d && i + 4 <= d->Size(); i += 4) out.push_back(DecodeFloat(d->Data() + i));
  return out;
}

std::vector<int32_t> TagContainer::GetIntList(std::string_view name) const {
  std::vector<int32_t> out;
  DataRef d = As(GetChunk(name), kTypeInt);
  for (uint32_t i = 0; d && i + 4 <= d->Size(); i += 4) out.push_back(static_cast<int32_t>(DecodeU32(d->Data() + i)));
  return out;
}

std::vector<KUID> TagContainer::GetKUIDList(std::string_view name) const {
  std::vector<KUID> out;
  DataRef d = As(GetChunk(name), kTypeKUID);
  for (uint32_t i = 0; d && i + 8 <= d->Size(); i += 8) out.push_back(KUID::FromChumpBytes(d->Data() + i));
  return out;
}

DataRef TagContainer::GetData(std::string_view name, int32_t* type) const {
  ChunkRef c = GetChunk(name);
  if (type) *type = c->GetType();
  return c->GetDataCore();
}

TagContainer TagContainer::GetContainer(std::string_view name) const {
  ChunkRef c = GetChunk(name);
  if (IsNullChunk(c) || c->GetType() != kTypeContainer) return TagContainer();
  return TagContainer(c);
}

bool TagContainer::RemoveTag(std::string_view name) {
  if (!root_) return false;
  Orb::PString key(name);
  if (auto* mem = dynamic_cast<QDBContainerTag*>(root_.Get())) return mem->RemoveNamed(key);
  // Other containers drop one child per call; every child of that name goes, so a lookup
  // can never find an older duplicate behind the new value.
  bool any = false;
  for (uint32_t guard = root_->GetChildCount() + 1; guard > 0; --guard) {
    ChunkRef c = root_->FindChild(key);
    if (IsNullChunk(c)) break;
    uint32_t before = root_->GetChildCount();
    root_->RemoveChild(c.Get());
    if (root_->GetChildCount() == before) break;
    any = true;
  }
  return any;
}

void TagContainer::SetChunk(std::string_view name, ChunkRef chunk) {
  ACSChunk* root = Writable();
  RemoveTag(name);
  root->AddChild(Orb::PString(name), std::move(chunk));
}

void TagContainer::SetIntList(std::string_view name, const std::vector<int32_t>& values) {
  DataRef d = ACSRawDataCore::Allocate(values.size() * 4);
  for (size_t i = 0; i < values.size(); ++i) EncodeU32(d->MutableData() + i * 4, static_cast<uint32_t>(values[i]));
  SetChunk(name, Writable()->CreateChunk(kTypeInt, d));
}

void TagContainer::SetInt(std::string_view name, int32_t value) { SetIntList(name, {value}); }

void TagContainer::SetFloatList(std::string_view name, const std::vector<float>& values) {
  DataRef d = ACSRawDataCore::Allocate(values.size() * 4);
  for (size_t i = 0; i < values.size(); ++i) EncodeFloat(d->MutableData() + i * 4, values[i]);
  SetChunk(name, Writable()->CreateChunk(kTypeFloat, d));
}

void TagContainer::SetFloat(std::string_view name, float value) { SetFloatList(name, {value}); }

void TagContainer::SetString(std::string_view name, std::string_view value) {
  SetChunk(name, Writable()->CreateChunk(kTypeString, StringBlock(value)));
}

void TagContainer::SetKUIDList(std::string_view name, const std::vector<KUID>& values) {
  DataRef d = ACSRawDataCore::Allocate(values.size() * 8);
  for (size_t i = 0; i < values.size(); ++i) values[i].ToChumpBytes(d->MutableData() + i * 8);
  SetChunk(name, Writable()->CreateChunk(kTypeKUID, d));
}

void TagContainer::SetKUID(std::string_view name, const KUID& value) { SetKUIDList(name, {value}); }

void TagContainer::SetBinary(std::string_view name, std::string_view bytes) {
  SetChunk(name, Writable()->CreateChunk(kTypeBinary, ACSRawDataCore::Copy(bytes.data(), bytes.size())));
}

void TagContainer::SetContainer(std::string_view name, const TagContainer& value) {
  SetChunk(name, value.root_ ? value.root_ : NewContainer());
}

void TagContainer::AddEmptyTag(std::string_view name) { SetChunk(name, Writable()->CreateChunk(kTypeNull, {})); }

uint32_t TagContainer::TagCount() const { return root_ ? root_->GetChildCount() : 0; }

Orb::PString TagContainer::TagName(uint32_t index) const { return root_ ? root_->GetChildName(index) : Orb::PString(); }

ChunkRef TagContainer::TagValue(uint32_t index) const {
  if (!root_) return ACSChunk::NullRef();
  if (auto* mem = dynamic_cast<QDBContainerTag*>(root_.Get())) return mem->ChildAt(index);
  if (index >= root_->GetChildCount()) return ACSChunk::NullRef();
  return root_->GetChild(root_->GetChildName(index));
}

std::string TagContainer::ValueText(ACSChunk* value) {
  std::string out;
  if (value) AppendValueText(value->GetType(), value->GetData(), value->GetDataSize(), out);
  return out;
}

void TagContainer::ClearTags() {
  if (!root_) return;
  if (dynamic_cast<QDBContainerTag*>(root_.Get()))
    root_->RemoveAllChildren();
  else
    root_ = NewContainer();
}

bool IsKnownTagForm(std::string_view form) {
  return Orb::EqualsIgnoreCase(form, "txt") || Orb::EqualsIgnoreCase(form, "chump") ||
         Orb::EqualsIgnoreCase(form, "cdp") || Orb::EqualsIgnoreCase(form, "cdp2");
}

namespace {
std::string FormOf(std::string_view file, std::string_view form) {
  if (!form.empty()) return std::string(form);
  size_t dot = file.rfind('.');
  size_t slash = file.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(file.substr(dot + 1));
}
}  // namespace

bool TagContainer::Load(std::string_view folder, std::string_view file, std::string_view form) {
  std::string chosen = FormOf(file, form);
  if (!IsKnownTagForm(chosen)) return false;
  std::string path = folder.empty() ? std::string(file) : Orb::Path::AddPath(folder, file);
  TFile stream(path, Orb::File::kRead);
  if (!stream.IsOpen()) return false;
  if (Orb::EqualsIgnoreCase(chosen, "txt")) {
    ClearTags();
    ReadText(*this, stream, false);
    return true;
  }
  return ReadChump(stream);
}

bool TagContainer::ReadChump(TStream& stream) {
  ChunkRef root = QETLib::ReadChump(stream);
  root_ = (IsNullChunk(root) || root->GetType() != kTypeContainer) ? NewContainer() : root;
  return true;
}

bool TagContainer::WriteChump(TStream& stream) const {
  return QETLib::WriteChump(root_ ? root_.Get() : ACSChunk::Null(), stream);
}

bool TagContainer::Save(std::string_view file, std::string_view form) const {
  std::string chosen = FormOf(file, form);
  if (!IsKnownTagForm(chosen)) return false;
  TFile stream(std::string(file), Orb::File::kCreate);
  if (!stream.IsOpen()) return false;
  bool ok;
  if (Orb::EqualsIgnoreCase(chosen, "txt")) {
    WriteText(*this, stream);
    ok = true;
  } else {
    ok = WriteChump(stream);
  }
  return ok && !stream.Error();
}

}  // namespace QETLib
