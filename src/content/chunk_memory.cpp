// The in-memory chunks: QDBContainerTag (ordered named children) and QDBDataTag (a value).
#include "content/chunk_memory.h"

#include <algorithm>

namespace QETLib {

ChunkRef NewContainer() { return ChunkRef(new QDBContainerTag()); }
ChunkRef NewValue(int32_t type, DataRef bytes) { return ChunkRef(new QDBDataTag(type, std::move(bytes))); }

ChunkRef ACSChunk::CreateChunk(int32_t type, DataRef bytes) {
  if (type == kTypeContainer) return NewContainer();
  return NewValue(type, std::move(bytes));
}

ChunkRef QDBContainerTag::FindChild(const Orb::PString& name) {
  for (auto& [n, c] : children_)
    if (n == name) return c;
  return NullRef();
}

ChunkRef QDBContainerTag::GetChild(const Orb::PString& name) { return FindChild(name); }

uint32_t QDBContainerTag::GetChildCount() { return static_cast<uint32_t>(children_.size()); }

Orb::PString QDBContainerTag::GetChildName(uint32_t index) {
  return index < children_.size() ? children_[index].first : Orb::PString();
}

ChunkRef QDBContainerTag::ChildAt(uint32_t index) {
  return index < children_.size() ? children_[index].second : NullRef();
}

void QDBContainerTag::RemoveAllChildren() { children_.clear(); }

void QDBContainerTag::SwapChildValues(ACSChunk* a, ACSChunk* b) {
  if (!a || !b || a == b) return;
  auto find = [&](ACSChunk* c) {
    return std::find_if(children_.begin(), children_.end(), [c](const auto& p) { return p.second.Get() == c; });
  };
  auto ia = find(a), ib = find(b);
  if (ia == children_.end() || ib == children_.end() || ia == ib) return;
  std::swap(ia->second, ib->second);
}

void QDBContainerTag::AddChild(const Orb::PString& name, ChunkRef chunk) {
  if (!chunk) chunk = NullRef();
  children_.emplace_back(name, std::move(chunk));
}

void QDBContainerTag::RemoveChild(ACSChunk* chunk) {
  auto it = std::find_if(children_.begin(), children_.end(), [chunk](const auto& p) { return p.second.Get() == chunk; });
  if (it != children_.end()) children_.erase(it);
}

bool QDBContainerTag::RemoveNamed(const Orb::PString& name) {
  auto end = std::remove_if(children_.begin(), children_.end(), [&](const auto& p) { return p.first == name; });
  bool any = end != children_.end();
  children_.erase(end, children_.end());
  return any;
}

void QDBContainerTag::ForEachChild(const ChildVisitor& visit) {
  for (size_t i = 0; i < children_.size(); ++i) {
    ChildView view;
    view.name = children_[i].first.View();
    view.chunk = children_[i].second;
    view.type = view.chunk->GetType();
    view.data = view.chunk->GetData();
    view.size = view.chunk->GetDataSize();
    if (!visit(view)) return;
  }
}

}  // namespace QETLib
