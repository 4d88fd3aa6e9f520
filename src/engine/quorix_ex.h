// The one exception of the system, raised only for fatal internal states. The front end
// catches it around each command and ends the process.
#pragma once
#include <stdexcept>
#include <string>

namespace Orb {

class QuorixEx : public std::runtime_error {
 public:
  explicit QuorixEx(const std::string& message) : std::runtime_error(message) {}
};

// Writes the message to the engine log as an error line, then throws QuorixEx.
[[noreturn]] void RaiseError(const std::string& message);

}  // namespace Orb
