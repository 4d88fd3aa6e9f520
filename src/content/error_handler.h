// The content library's error handler: one per process, created first at start-up and
// destroyed last at shut-down; fatal internal states are raised through it.
#pragma once
#include <functional>
#include <memory>
#include <string>

namespace QETLib {

class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;

  // Fatal internal state: the formatted message goes to the engine log as an error line
  // and QuorixEx carrying it is thrown (the front end's top level catches it).
  [[noreturn]] static void Raise(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

  // Lifetime of the process-wide handler. Create uses the installed factory (the
  // validation side installs one that builds its findings-collecting handler); without a
  // factory a plain ErrorHandler is made. Create is a no-op when a handler exists.
  using Factory = std::function<std::unique_ptr<ErrorHandler>()>;
  static void SetFactory(Factory factory);
  static void Create();
  static void Destroy();
  static ErrorHandler* Current();  // nullptr when none exists
};

}  // namespace QETLib
