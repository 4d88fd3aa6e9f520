// The per-command collector of messages: entries with a severity, a text and an optional
// asset, counters, a stack of current assets, and recipients told about every addition.
#pragma once
#include <concepts>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/kuid.h"
#include "content/tag_container.h"
#include "engine/sync.h"

namespace QETLib {

enum Severity { Info = 1, Warning = 2, Error = 3, Success = 4 };

// Named message parameters, substituted into "$(NAME)" patterns under the upper-cased name.
using MessageParams = std::vector<std::pair<std::string, std::string>>;

// Replaces every "$(name)" in `message` (found without regard to case) by `value`; an
// inserted value is never searched again.
void SubstituteParameter(std::string& message, std::string_view name, std::string_view value);

class ResultsLog {
 public:
  struct Entry {
    int severity = Info;
    std::string message;
    std::optional<KUID> asset;  // the "AssetID" property
  };
  using Recipient = std::function<void(const Entry&)>;

  // Appends an entry. Without an explicit asset, the top of the current-asset stack is used.
  void Add(int severity, std::string_view message);
  void Add(int severity, const KUID& asset, std::string_view message);
  void Add(int severity, std::optional<KUID> asset, std::string_view message, const MessageParams& params);
  // Parameters in a tag container: each tag's value as text, under its upper-cased name.
  // (A template only so that a "{}" argument keeps meaning empty MessageParams.)
  template <typename T>
    requires std::same_as<T, TagContainer>
  void Add(int severity, std::optional<KUID> asset, std::string_view message, const T& params) {
    AddWithContainer(severity, asset, message, params);
  }
  // Translates a message tag ("$qad_...") through the interface text, then substitutes parameters.
  void AddTagged(int severity, std::optional<KUID> asset, std::string_view tag, const MessageParams& params = {});
  template <typename T>
    requires std::same_as<T, TagContainer>
  void AddTagged(int severity, std::optional<KUID> asset, std::string_view tag, const T& params) {
    AddTaggedWithContainer(severity, asset, tag, params);
  }

  void PushAsset(const KUID& asset);
  void PopAsset();

  void AddRecipient(Recipient recipient);

  int Warnings() const;
  int Errors() const;
  int Successes() const;
  bool Printed() const;
  std::vector<Entry> Entries() const;

  // Prints every entry ("<prefix><KUID> : <message>") and the summary line on `out`.
  void Print(std::FILE* out);

 private:
  std::optional<KUID> CurrentAsset() const;
  void AddWithContainer(int severity, std::optional<KUID> asset, std::string_view message, const TagContainer& params);
  void AddTaggedWithContainer(int severity, std::optional<KUID> asset, std::string_view tag, const TagContainer& params);

  mutable Orb::CriticalSection lock_;
  std::vector<Entry> entries_;
  std::vector<KUID> asset_stack_;
  std::vector<Recipient> recipients_;
  int warnings_ = 0;
  int errors_ = 0;
  int successes_ = 0;
  bool printed_ = false;
};

// Pushes an asset on the log's current-asset stack for the lifetime of the guard.
class ScopedLogAsset {
 public:
  ScopedLogAsset(ResultsLog* log, const KUID& asset) : log_(log) {
    if (log_) log_->PushAsset(asset);
  }
  ~ScopedLogAsset() {
    if (log_) log_->PopAsset();
  }
  ScopedLogAsset(const ScopedLogAsset&) = delete;
  ScopedLogAsset& operator=(const ScopedLogAsset&) = delete;

 private:
  ResultsLog* log_;
};

}  // namespace QETLib
