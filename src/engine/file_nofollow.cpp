// Link-refusing writes over POSIX: O_NOFOLLOW for files, lstat after mkdir for folders.
// A link planted where a member is to be written can never redirect the write elsewhere.
#include "engine/file_nofollow.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Orb {

bool WriteFileNoFollow(const std::string& path, std::string_view data) {
  if (path.empty()) return false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  const char* p = data.data();
  size_t left = ok ? data.size() : 0;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool MakeFolderNoFollow(const std::string& path) {
  if (path.empty()) return false;
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace Orb
