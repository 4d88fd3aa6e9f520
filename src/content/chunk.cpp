// The null chunk (the ACSChunk base behaviour) and the byte block ACSRawDataCore.
#include "content/chunk.h"

#include <cstring>
#include <new>

namespace QETLib {

void* ACSRawDataCore::operator new(size_t base, size_t extra) {
  static_assert(sizeof(ACSRawDataCore) <= kHeader);
  (void)base;
  return ::operator new(kHeader + extra, std::align_val_t{16});
}
void ACSRawDataCore::operator delete(void* p, size_t) { ::operator delete(p, std::align_val_t{16}); }
void ACSRawDataCore::operator delete(void* p) { ::operator delete(p, std::align_val_t{16}); }

Ref<ACSRawDataCore> ACSRawDataCore::Copy(const void* data, size_t size) {
  if (!data || size == 0 || size > UINT32_MAX) return {};
  Ref<ACSRawDataCore> block = Allocate(size);
  std::memcpy(block->MutableData(), data, size);
  return block;
}

Ref<ACSRawDataCore> ACSRawDataCore::Allocate(size_t size) {
  if (size == 0 || size > UINT32_MAX) return {};
  return Ref<ACSRawDataCore>(new (size) ACSRawDataCore(nullptr, static_cast<uint32_t>(size), true, {}));
}

Ref<ACSRawDataCore> ACSRawDataCore::Borrow(const void* data, size_t size, Ref<ReferenceCountMP> owner) {
  if (!data || size == 0 || size > UINT32_MAX) return {};
  return Ref<ACSRawDataCore>(new (size_t{0}) ACSRawDataCore(static_cast<const uint8_t*>(data),
                                                              static_cast<uint32_t>(size), false, std::move(owner)));
}

ChunkRef ACSChunk::FindChild(const Orb::PString&) { return NullRef(); }
ChunkRef ACSChunk::GetChild(const Orb::PString&) { return NullRef(); }
uint32_t ACSChunk::GetChildCount() { return 0; }
Orb::PString ACSChunk::GetChildName(uint32_t) { return {}; }
void ACSChunk::RemoveAllChildren() {}
void ACSChunk::SwapChildValues(ACSChunk*, ACSChunk*) {}
void ACSChunk::AddChild(const Orb::PString&, ChunkRef) {}
void ACSChunk::RemoveChild(ACSChunk*) {}
const uint8_t* ACSChunk::GetData() { return nullptr; }
uint32_t ACSChunk::GetDataSize() { return 0; }
int32_t ACSChunk::GetType() { return kTypeNull; }
void ACSChunk::SetData(int32_t, DataRef) {}
DataRef ACSChunk::GetDataCore() { return {}; }

void ACSChunk::ForEachChild(const ChildVisitor& visit) {
  uint32_t count = GetChildCount();
  for (uint32_t i = 0; i < count; ++i) {
    Orb::PString name = GetChildName(i);
    ChildView view;
    view.name = name.View();
    view.chunk = GetChild(name);
    view.type = view.chunk->GetType();
    view.data = view.chunk->GetData();
    view.size = view.chunk->GetDataSize();
    if (!visit(view)) return;
  }
}

ChunkRef MakeNullChunk() { return ChunkRef(new ACSChunk()); }

ACSChunk* ACSChunk::Null() {
  // One reference is held for the life of the process, so the null chunk never dies.
  static ChunkRef null_chunk = MakeNullChunk();
  return null_chunk.Get();
}

}  // namespace QETLib
