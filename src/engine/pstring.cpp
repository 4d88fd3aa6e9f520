#include "engine/pstring.h"

#include <mutex>
#include <unordered_map>

#include "engine/text.h"

namespace Orb {

struct PString::Node {
  std::string text;
  std::atomic<long> references{0};
};

namespace {

// The cache owns nothing: a node removes itself when its last reference goes.
struct Cache {
  std::mutex lock;
  std::unordered_map<std::string_view, PString::Node*> nodes;
};

Cache& TheCache() {
  static Cache* cache = new Cache();  // never destroyed: PStrings may outlive static teardown
  return *cache;
}

PString::Node* Acquire(std::string_view text) {
  if (text.empty()) return nullptr;
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  auto it = cache.nodes.find(text);
  if (it != cache.nodes.end()) {
    it->second->references.fetch_add(1, std::memory_order_relaxed);
    return it->second;
  }
  auto* node = new PString::Node{std::string(text)};
  node->references.store(1, std::memory_order_relaxed);
  cache.nodes.emplace(std::string_view(node->text), node);
  return node;
}

void AddRef(PString::Node* node) {
  if (node) node->references.fetch_add(1, std::memory_order_relaxed);
}

void Release(PString::Node* node) {
  if (!node) return;
  // Fast path: not the last reference, so nobody can be racing us to zero.
  long count = node->references.load(std::memory_order_relaxed);
  while (count > 1) {
    if (node->references.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) return;
  }
  // Possibly the last reference: decide under the cache lock, where Acquire revives nodes.
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  if (node->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  cache.nodes.erase(std::string_view(node->text));
  delete node;
}

}  // namespace

PString::PString(std::string_view text) : node_(Acquire(text)) {}
PString::PString(const PString& other) : node_(other.node_) { AddRef(node_); }
PString::PString(PString&& other) noexcept : node_(other.node_) { other.node_ = nullptr; }

PString& PString::operator=(const PString& other) {
  if (node_ != other.node_) {
    AddRef(other.node_);
    Release(node_);
    node_ = other.node_;
  }
  return *this;
}

PString& PString::operator=(PString&& other) noexcept {
  if (this != &other) {
    Release(node_);
    node_ = other.node_;
    other.node_ = nullptr;
  }
  return *this;
}

PString::~PString() { Release(node_); }

std::string_view PString::View() const { return node_ ? std::string_view(node_->text) : std::string_view(); }
const char* PString::CStr() const { return node_ ? node_->text.c_str() : ""; }
PString PString::ToLower() const { return PString(Orb::ToLower(View())); }
PString PString::ToUpper() const { return PString(Orb::ToUpper(View())); }

size_t PString::CacheSize() {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  return cache.nodes.size();
}

}  // namespace Orb
