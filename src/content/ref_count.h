// Shared ownership for the chunk tree and its byte blocks: an intrusive atomic reference
// count (`ReferenceCountMP`) and the smart handle `Ref` that holds one reference.
#pragma once
#include <utility>

#include "engine/sync.h"

namespace QETLib {

// Counted base: an object deletes itself when its last reference is released. Counts are
// atomic, so references may be taken and dropped from any thread.
class ReferenceCountMP {
 public:
  ReferenceCountMP() = default;
  ReferenceCountMP(const ReferenceCountMP&) = delete;
  ReferenceCountMP& operator=(const ReferenceCountMP&) = delete;
  virtual ~ReferenceCountMP() = default;

  void AddReference() const { count_.Increment(); }
  void ReleaseReference() const {
    if (count_.Decrement() == 0) delete this;
  }
  long ReferenceCount() const { return count_.Get(); }

 private:
  mutable Orb::ProtectedLong count_{0};
};

// Holds one reference to a counted object (or none).
template <typename T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(T* object) : p_(object) {  // NOLINT: implicit by design, like a raw pointer
    if (p_) p_->AddReference();
  }
  Ref(const Ref& other) : Ref(other.p_) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <typename U>
  Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.Get())) {}
  ~Ref() {
    if (p_) p_->ReleaseReference();
  }
  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator==(const Ref& o) const { return p_ == o.p_; }
  bool operator!=(const Ref& o) const { return p_ != o.p_; }
  void Reset() { *this = Ref(); }

 private:
  T* p_ = nullptr;
};

// Makes a new counted object and hands back the first reference to it.
template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));  // owned by the count from here on
}

}  // namespace QETLib
