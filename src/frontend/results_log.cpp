#include "frontend/results_log.h"

#include <cstdio>

#include "engine/text.h"
#include "frontend/interface_text.h"

namespace QETLib {

void SubstituteParameter(std::string& message, std::string_view name, std::string_view value) {
  std::string pattern = "$(" + std::string(name) + ")";
  size_t pos = 0;
  while ((pos = Orb::FindIgnoreCase(message, pattern, pos)) != std::string::npos) {
    message.replace(pos, pattern.size(), value);
    pos += value.size();
  }
}

std::optional<KUID> ResultsLog::CurrentAsset() const {
  if (asset_stack_.empty()) return std::nullopt;
  return asset_stack_.back();
}

void ResultsLog::Add(int severity, std::string_view message) { Add(severity, std::nullopt, message, {}); }

void ResultsLog::Add(int severity, const KUID& asset, std::string_view message) {
  Add(severity, std::optional<KUID>(asset), message, {});
}

void ResultsLog::Add(int severity, std::optional<KUID> asset, std::string_view message, const MessageParams& params) {
  Entry entry;
  entry.severity = severity;
  entry.message = std::string(message);
  for (const auto& [name, value] : params) SubstituteParameter(entry.message, Orb::ToUpper(name), value);
  Orb::CriticalSection::Hold hold(lock_);
  entry.asset = asset ? asset : CurrentAsset();
  if (severity == Warning) ++warnings_;
  if (severity == Error) ++errors_;
  if (severity == Success) ++successes_;
  printed_ = false;
  entries_.push_back(std::move(entry));
  for (const Recipient& r : recipients_) r(entries_.back());
}

void ResultsLog::AddWithContainer(int severity, std::optional<KUID> asset, std::string_view message,
                                  const TagContainer& params) {
  MessageParams substituted;
  for (uint32_t i = 0, n = params.TagCount(); i < n; ++i)
    substituted.emplace_back(std::string(params.TagName(i).View()), TagContainer::ValueText(params.TagValue(i).Get()));
  Add(severity, asset, message, substituted);
}

void ResultsLog::AddTagged(int severity, std::optional<KUID> asset, std::string_view tag, const MessageParams& params) {
  Add(severity, asset, Translate(tag), params);
}

void ResultsLog::AddTaggedWithContainer(int severity, std::optional<KUID> asset, std::string_view tag,
                                        const TagContainer& params) {
  Add(severity, asset, Translate(tag), params);
}

void ResultsLog::PushAsset(const KUID& asset) {
  Orb::CriticalSection::Hold hold(lock_);
  asset_stack_.push_back(asset);
}

void ResultsLog::PopAsset() {
  Orb::CriticalSection::Hold hold(lock_);
  if (!asset_stack_.empty()) asset_stack_.pop_back();
}

void ResultsLog::AddRecipient(Recipient recipient) {
  Orb::CriticalSection::Hold hold(lock_);
  recipients_.push_back(std::move(recipient));
}

int ResultsLog::Warnings() const {
  Orb::CriticalSection::Hold hold(lock_);
  return warnings_;
}
int ResultsLog::Errors() const {
  Orb::CriticalSection::Hold hold(lock_);
  return errors_;
}
int ResultsLog::Successes() const {
  Orb::CriticalSection::Hold hold(lock_);
  return successes_;
}
bool ResultsLog::Printed() const {
  Orb::CriticalSection::Hold hold(lock_);
  return printed_;
}
std::vector<ResultsLog::Entry> ResultsLog::Entries() const {
  Orb::CriticalSection::Hold hold(lock_);
  return entries_;
}

static const char* SeverityPrefix(int severity) {
  switch (severity) {
    case Info: return "; ";
    case Warning: return "! ";
    case Error: return "- ";
    case Success: return "+ ";
    default: return "";
  }
}

void ResultsLog::Print(std::FILE* out) {
  Orb::CriticalSection::Hold hold(lock_);
  printed_ = true;
  int errors = 0, warnings = 0;
  std::string line;
  for (const Entry& e : entries_) {
    line.assign(SeverityPrefix(e.severity));
    // The asset goes through its text form and back, like any other property text.
    KUID asset = e.asset ? Parse(ToBracketString(*e.asset), false) : KUID::Null();
    AppendBracketString(asset, line);
    line += " : ";
    line += e.message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out);
    if (e.severity == Error) ++errors;
    if (e.severity == Warning) ++warnings;
  }
  std::fprintf(out, "OK (%d Errors, %d Warnings)\n", errors, warnings);
}

}  // namespace QETLib
