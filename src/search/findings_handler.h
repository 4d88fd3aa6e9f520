// The process-wide collector of validation findings (errors, warnings, notes), each with the
// context it concerns; a repeated finding for the same context is kept once.
#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "content/error_handler.h"
#include "content/kuid.h"

namespace QETLib {

struct Finding {
  enum Severity { kNote = 0, kWarning = 2, kError = 3 };
  int severity = kError;
  std::string context;
  std::string message;
};

// Message numbers of the line prefixes printed when echoing.
inline constexpr int kMessageErrorPrefix = 125;
inline constexpr int kMessageWarningPrefix = 126;
inline constexpr int kMessageNotePrefix = 127;

class FindingsHandler : public ErrorHandler {
 public:
  virtual void Clear();
  // Reports for three kinds of context: a text (usually a tag path), an asset, and a file.
  // Each returns false when the same context already holds the same message.
  virtual bool Error(std::string_view context, std::string_view message);
  virtual bool Error(const KUID& asset, std::string_view message);
  virtual bool ErrorInFile(std::string_view file, std::string_view message);
  virtual bool Warning(std::string_view context, std::string_view message);
  virtual bool Warning(const KUID& asset, std::string_view message);
  virtual bool WarningInFile(std::string_view file, std::string_view message);
  virtual bool Note(std::string_view context, std::string_view message);
  virtual bool Note(const KUID& asset, std::string_view message);
  virtual bool NoteInFile(std::string_view file, std::string_view message);
  // Progress and confirmation requests: a console run has no one to ask, so they pass.
  virtual bool Progress(std::string_view what);
  virtual bool Confirm(std::string_view question);
  // False when some finding already holds this message text.
  virtual bool IsNewMessage(std::string_view message) const;
  virtual std::vector<Finding> Findings() const;
  virtual std::vector<Finding> TakeFindings();

  bool Report(int severity, std::string_view context, std::string_view message);
  void SetEcho(bool echo);
  bool Echo() const;
  int Count(int severity) const;

 private:
  mutable std::mutex lock_;
  std::vector<Finding> findings_;
  bool echo_ = false;
};

// The process-wide handler when the error handler made at start-up is a findings handler,
// otherwise one kept for this purpose.
FindingsHandler& CurrentFindings();
// Makes start-up create a FindingsHandler as the process-wide error handler.
void InstallFindingsHandlerFactory();

}  // namespace QETLib
