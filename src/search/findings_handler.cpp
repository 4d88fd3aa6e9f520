#include "search/findings_handler.h"

#include <cstdio>

#include "search/message_catalogue.h"

namespace QETLib {

void FindingsHandler::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  findings_.clear();
}

bool FindingsHandler::Report(int severity, std::string_view context, std::string_view message) {
  std::lock_guard<std::mutex> guard(lock_);
  for (const Finding& f : findings_)
    if (f.context == context && f.message == message) return false;
  if (echo_) {
    const int prefix = severity == Finding::kError     ? kMessageErrorPrefix
                       : severity == Finding::kWarning ? kMessageWarningPrefix
                                                       : kMessageNotePrefix;
    std::string line = GetMessage(prefix);
    line.append(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  findings_.push_back(Finding{severity, std::string(context), std::string(message)});
  return true;
}

bool FindingsHandler::Error(std::string_view context, std::string_view message) {
  return Report(Finding::kError, context, message);
}
bool FindingsHandler::Error(const KUID& asset, std::string_view message) {
  return Report(Finding::kError, ToBracketString(asset), message);
}
bool FindingsHandler::ErrorInFile(std::string_view file, std::string_view message) {
  return Report(Finding::kError, file, message);
}
bool FindingsHandler::Warning(std::string_view context, std::string_view message) {
  return Report(Finding::kWarning, context, message);
}
bool FindingsHandler::Warning(const KUID& asset, std::string_view message) {
  return Report(Finding::kWarning, ToBracketString(asset), message);
}
bool FindingsHandler::WarningInFile(std::string_view file, std::string_view message) {
  return Report(Finding::kWarning, file, message);
}
bool FindingsHandler::Note(std::string_view context, std::string_view message) {
  return Report(Finding::kNote, context, message);
}
bool FindingsHandler::Note(const KUID& asset, std::string_view message) {
  return Report(Finding::kNote, ToBracketString(asset), message);
}
bool FindingsHandler::NoteInFile(std::string_view file, std::string_view message) {
  return Report(Finding::kNote, file, message);
}

bool FindingsHandler::Progress(std::string_view) { return true; }
bool FindingsHandler::Confirm(std::string_view) { return true; }

bool FindingsHandler::IsNewMessage(std::string_view message) const {
  std::lock_guard<std::mutex> guard(lock_);
  for (const Finding& f : findings_)
    if (f.message == message) return false;
  return true;
}

std::vector<Finding> FindingsHandler::Findings() const {
  std::lock_guard<std::mutex> guard(lock_);
  return findings_;
}

std::vector<Finding> FindingsHandler::TakeFindings() {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<Finding> out = std::move(findings_);
  findings_.clear();
  return out;
}

void FindingsHandler::SetEcho(bool echo) {
  std::lock_guard<std::mutex> guard(lock_);
  echo_ = echo;
}

bool FindingsHandler::Echo() const {
  std::lock_guard<std::mutex> guard(lock_);
  return echo_;
}

int FindingsHandler::Count(int severity) const {
  std::lock_guard<std::mutex> guard(lock_);
  int n = 0;
  for (const Finding& f : findings_) n += f.severity == severity;
  return n;
}

FindingsHandler& CurrentFindings() {
  if (auto* handler = dynamic_cast<FindingsHandler*>(ErrorHandler::Current())) return *handler;
  static FindingsHandler own;
  return own;
}

void InstallFindingsHandlerFactory() {
  ErrorHandler::SetFactory([] { return std::make_unique<FindingsHandler>(); });
}

}  // namespace QETLib
