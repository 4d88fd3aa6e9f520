#include "engine/quorix_ex.h"

#include "engine/log.h"

namespace Orb {

void RaiseError(const std::string& message) {
  Log::Write("error: " + message + "\n");
  throw QuorixEx(message);
}

}  // namespace Orb
