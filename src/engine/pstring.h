// Interned, immutable, reference-counted strings: one node per distinct text in a
// process-wide cache, so two PStrings with the same text compare equal by identity.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace Orb {

class PString {
 public:
  PString() = default;  // the empty text
  explicit PString(std::string_view text);
  PString(const PString& other);
  PString(PString&& other) noexcept;
  PString& operator=(const PString& other);
  PString& operator=(PString&& other) noexcept;
  ~PString();

  std::string_view View() const;
  const char* CStr() const;
  size_t Size() const { return View().size(); }
  bool Empty() const { return Size() == 0; }

  PString ToLower() const;
  PString ToUpper() const;

  // Identity comparison: equal texts share one node.
  bool operator==(const PString& other) const { return node_ == other.node_; }
  bool operator!=(const PString& other) const { return node_ != other.node_; }
  const void* Identity() const { return node_; }

  // Number of distinct texts currently held (for tests and cache collection).
  static size_t CacheSize();

  struct Node;

 private:
  Node* node_ = nullptr;  // nullptr stands for the empty text
};

struct PStringHash {
  size_t operator()(const PString& s) const { return std::hash<const void*>()(s.Identity()); }
};

}  // namespace Orb
