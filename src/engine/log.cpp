#include "engine/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <string>

#include "engine/text.h"

namespace Orb::Log {

void Write(std::string_view line) {
  const char* target = std::getenv("QUORIX_ENGINE_LOG");
  if (!target || !*target) return;
  // One append-mode write per line keeps lines whole even with several processes writing.
  int fd = ::open(target, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  ssize_t ignored = ::write(fd, line.data(), line.size());
  (void)ignored;
  ::close(fd);
}

void Printf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string line = FormatV(fmt, args);
  va_end(args);
  Write(line);
}

}  // namespace Orb::Log
