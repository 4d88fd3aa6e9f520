#include "engine/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "engine/path.h"
#include "engine/text.h"

namespace Orb {

File::~File() { Close(); }

File::File(File&& other) noexcept { *this = std::move(other); }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    buffer_ = std::move(other.buffer_);
    buffer_pos_ = other.buffer_pos_;
    at_eof_ = other.at_eof_;
    other.fd_ = -1;
  }
  return *this;
}

bool File::Open(const std::string& path, int mode) {
  Close();
  int flags;
  switch (mode) {
    case kRead: flags = O_RDONLY; break;
    case kCreate: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case kWriteKeep: flags = O_WRONLY | O_CREAT; break;
    case kAppend: flags = O_WRONLY | O_CREAT | O_APPEND; break;
    case kReadWrite: flags = O_RDWR | O_CREAT; break;
    default: return false;
  }
  if (path.empty()) return false;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) return false;
  if (mode == kRead && IsFolder(path)) {
    Close();
    return false;
  }
  buffer_.clear();
  buffer_pos_ = 0;
  at_eof_ = false;
  return true;
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
  buffer_pos_ = 0;
  at_eof_ = false;
}

int64_t File::Read(void* out, size_t size) {
  if (fd_ < 0) return -1;
  char* dst = static_cast<char*>(out);
  size_t done = 0;
  // Hand out read-ahead first.
  if (buffer_pos_ < buffer_.size()) {
    size_t n = std::min(size, buffer_.size() - buffer_pos_);
    std::memcpy(dst, buffer_.data() + buffer_pos_, n);
    buffer_pos_ += n;
    done = n;
  }
  while (done < size) {
    ssize_t n = ::read(fd_, dst + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return done ? static_cast<int64_t>(done) : -1;
    }
    if (n == 0) {
      at_eof_ = true;
      break;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

bool File::Write(const void* data, size_t size) {
  if (fd_ < 0) return false;
  if (buffer_pos_ < buffer_.size()) {
    // Give back unread read-ahead so the write lands where the reader stands.
    ::lseek(fd_, -static_cast<off_t>(buffer_.size() - buffer_pos_), SEEK_CUR);
  }
  buffer_.clear();
  buffer_pos_ = 0;
  const char* src = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, src, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    src += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool File::WriteLine(std::string_view text) { return Write(text) && Write("\n", 1); }

int File::ReadBufferedByte() {
  if (buffer_pos_ >= buffer_.size()) {
    if (at_eof_) return -1;
    buffer_.resize(4096);
    ssize_t n;
    do {
      n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
      buffer_.clear();
      buffer_pos_ = 0;
      at_eof_ = true;
      return -1;
    }
    buffer_.resize(static_cast<size_t>(n));
    buffer_pos_ = 0;
  }
  return static_cast<unsigned char>(buffer_[buffer_pos_++]);
}

bool File::ReadLine(char* out, size_t size) {
  if (fd_ < 0 || size == 0) return false;
  size_t n = 0;
  bool any = false;
  while (n + 1 < size) {
    int c = ReadBufferedByte();
    if (c < 0) break;
    any = true;
    out[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  out[n] = '\0';
  return any;
}

bool File::ReadLine(std::string& line) {
  line.clear();
  if (fd_ < 0) return false;
  int c;
  while ((c = ReadBufferedByte()) >= 0) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

bool File::Eof() {
  if (fd_ < 0) return true;
  if (buffer_pos_ < buffer_.size()) return false;
  if (at_eof_) return true;
  int c = ReadBufferedByte();
  if (c < 0) return true;
  --buffer_pos_;
  return false;
}

bool File::Seek(int64_t offset) {
  if (fd_ < 0) return false;
  buffer_.clear();
  buffer_pos_ = 0;
  at_eof_ = false;
  return ::lseek(fd_, offset, SEEK_SET) == offset;
}

int64_t File::Tell() const {
  if (fd_ < 0) return -1;
  off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  if (pos < 0) return -1;
  return pos - static_cast<off_t>(buffer_.size() - buffer_pos_);
}

int64_t File::Size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

bool File::Sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

bool File::Exists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool File::IsFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool File::IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool File::Rename(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && ::rename(from.c_str(), to.c_str()) == 0;
}

bool File::Exchange(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

bool File::Unlink(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

bool File::Md(const std::string& path) {
  if (path.empty()) return false;
  std::string p = Path::DelSlash(path);
  if (IsFolder(p)) return true;
  std::string parent = Path::DelSlash(Path::PrevDir(p));
  if (!parent.empty() && parent != p && !IsFolder(parent) && !Md(parent)) return false;
  return ::mkdir(p.c_str(), 0755) == 0 || (errno == EEXIST && IsFolder(p));
}

bool File::Prune(const std::string& path) {
  struct stat st;
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return false;
  std::vector<FindEntry> entries;
  if (!ListFolder(path, entries)) return false;
  bool ok = true;
  for (const FindEntry& e : entries) {
    if (e.is_folder && !e.is_link)
      ok = Prune(e.path) && ok;
    else
      ok = (::unlink(e.path.c_str()) == 0) && ok;
  }
  return ::rmdir(path.c_str()) == 0 && ok;
}

int64_t File::FileSize(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return -1;
  return st.st_size;
}

bool ReadWholeFile(const std::string& path, std::string& out, size_t max_size) {
  File f;
  if (!f.Open(path, File::kRead)) return false;
  int64_t size = f.Size();
  if (size < 0 || static_cast<uint64_t>(size) > max_size) return false;
  out.resize(static_cast<size_t>(size));
  int64_t n = f.Read(out.data(), out.size());
  if (n < 0) return false;
  out.resize(static_cast<size_t>(n));
  return true;
}

bool WriteWholeFile(const std::string& path, std::string_view data) {
  File f;
  return f.Open(path, File::kCreate) && f.Write(data.data(), data.size());
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
  std::string temp = Format("%s.tmp%d", path.c_str(), static_cast<int>(::getpid()));
  {
    File f;
    if (!f.Open(temp, File::kCreate)) return false;
    if (!f.Write(data.data(), data.size()) || !f.Sync()) {
      f.Close();
      File::Unlink(temp);
      return false;
    }
  }
  if (!File::Rename(temp, path)) {
    File::Unlink(temp);
    return false;
  }
  return true;
}

bool ListFolder(const std::string& folder, std::vector<FindEntry>& out) {
  out.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  while (struct dirent* d = ::readdir(dir)) {
    std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    FindEntry e;
    e.path = Path::AddPath(folder, name);
    e.name = std::move(name);
    // The entry's type usually comes with the name; only file systems that do not give
    // it cost a stat call per entry (a repair lists hundreds of thousands of entries).
    if (d->d_type != DT_UNKNOWN) {
      e.is_link = d->d_type == DT_LNK;
      e.is_folder = d->d_type == DT_DIR;
    } else if (struct stat st; ::lstat(e.path.c_str(), &st) == 0) {
      e.is_link = S_ISLNK(st.st_mode);
      e.is_folder = S_ISDIR(st.st_mode);
    }
    out.push_back(std::move(e));
  }
  ::closedir(dir);
  std::sort(out.begin(), out.end(), [](const FindEntry& a, const FindEntry& b) { return a.name < b.name; });
  return true;
}

std::string CurrentFolder() {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return std::string();
  return buf;
}

bool SetCurrentFolder(const std::string& path) { return !path.empty() && ::chdir(path.c_str()) == 0; }

std::string FindNameIgnoreCase(const std::string& folder, const std::string& name) {
  std::string exact = Path::AddPath(folder, name);
  if (File::Exists(exact)) return exact;
  std::vector<FindEntry> entries;
  if (!ListFolder(folder, entries)) return std::string();
  for (const FindEntry& e : entries)
    if (EqualsIgnoreCase(e.name, name)) return e.path;
  return std::string();
}

}  // namespace Orb
