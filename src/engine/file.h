// Files and folders over POSIX: the engine's open modes, whole-file reads, atomic
// writes, folder making, pruning and enumeration. Every call reports failure by its result.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Orb {

class File {
 public:
  // Engine open modes.
  static constexpr int kRead = 16;        // existing file, read only
  static constexpr int kCreate = 257;     // create or truncate for writing
  static constexpr int kWriteKeep = 513;  // open or create for writing, keep contents
  static constexpr int kAppend = 289;     // open or create, writes go to the end
  static constexpr int kReadWrite = 770;  // open or create for reading and writing

  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  bool Open(const std::string& path, int mode);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Bytes read (0 at end of file), or -1 on error.
  int64_t Read(void* buffer, size_t size);
  // True when every byte was written.
  bool Write(const void* data, size_t size);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  bool WriteLine(std::string_view text);  // text and "\n"
  // Reads one line into `buffer` (at most size-1 bytes, zero-terminated), keeping its
  // terminator when it fits. A line longer than the buffer is delivered in pieces.
  // Returns false at end of file with nothing read.
  bool ReadLine(char* buffer, size_t size);
  // Reads one whole line of any length, terminator and zero bytes included.
  bool ReadLine(std::string& line);
  bool Eof();
  bool Seek(int64_t offset);
  int64_t Tell() const;
  int64_t Size() const;
  bool Sync();

  static bool Exists(const std::string& path);       // file or folder
  static bool IsFolder(const std::string& path);
  static bool IsRegularFile(const std::string& path);
  static bool Rename(const std::string& from, const std::string& to);
  static bool Unlink(const std::string& path);
  // Swaps two existing paths in one step, so no moment passes without either in place.
  // False where the file system cannot do it; the caller then falls back to renames.
  static bool Exchange(const std::string& a, const std::string& b);
  static bool Md(const std::string& path);  // makes the folder and any missing parents
  // Removes a folder tree. Symbolic links are removed, never followed.
  static bool Prune(const std::string& path);
  static int64_t FileSize(const std::string& path);  // -1 when absent

 private:
  int ReadBufferedByte();
  int fd_ = -1;
  std::vector<char> buffer_;  // read-ahead for ReadLine/Eof
  size_t buffer_pos_ = 0;
  bool at_eof_ = false;
};

// Whole-file helpers.
bool ReadWholeFile(const std::string& path, std::string& out, size_t max_size = SIZE_MAX);
// Writes through a temporary file in the same folder, syncs, then renames over `path`,
// so a crash leaves either the old or the new contents.
bool WriteFileAtomic(const std::string& path, std::string_view data);
bool WriteWholeFile(const std::string& path, std::string_view data);

// One entry of a folder listing.
struct FindEntry {
  std::string name;  // file name only
  std::string path;  // folder joined with name
  bool is_folder = false;
  bool is_link = false;
};

// Lists a folder ("." and ".." left out), sorted by name for a stable order.
bool ListFolder(const std::string& folder, std::vector<FindEntry>& out);

// The current working folder, or "" when it cannot be read.
std::string CurrentFolder();
bool SetCurrentFolder(const std::string& path);

// Looks up `name` in `folder`, accepting a file whose name differs only in letter case.
// Returns the full path found, or "" when there is none.
std::string FindNameIgnoreCase(const std::string& folder, const std::string& name);

}  // namespace Orb
