// Packing and unpacking of asset folders. Packed LZSS values are a 32-bit little-endian size
// followed by a level-9 stream; a declared size the stream cannot reach is refused before allocating.
#include "content/package_folder.h"

#include <cstdint>
#include <vector>

#include "content/chunk_memory.h"
#include "content/lzss_compress.h"
#include "content/lzss_decoder.h"
#include "content/package_names.h"
#include "engine/file.h"
#include "engine/file_nofollow.h"
#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {
namespace {

constexpr int kLevelWarning = 2;
constexpr int kLevelError = 3;
// A value's size is a 32-bit count, and an LZSS value needs five bytes beyond the file.
constexpr uint64_t kMaxPackedFile = UINT32_MAX - 8;

const char kUnknownType[] = "Unknown data type encountered. Content package may be damaged";
const char kWriteFailed[] = "Unable to write content files to disk";
const char kDecompressFailed[] = "Failed to decompress data. Content package may be damaged";
const char kUnknownCompression[] = "Unknown compression type encountered. Content package may be damaged";

void Report(const PackageLog& log, int level, std::string_view tag, PackageParams params) {
  if (log) log(level, tag, params);
}

// Reads one member for packing; stores it in `files` under `name`.
bool PackFile(const Orb::FindEntry& entry, std::string_view compression, const PackageLog& log,
              TagContainer& files) {
  // Files are read as bytes, unchanged, whatever their type (scripts included).
  int64_t size = Orb::File::FileSize(entry.path);
  std::string bytes;
  if (size < 0 || !Orb::File::IsRegularFile(entry.path)) {
    Report(log, kLevelError, "$qad_package_file_read_err", {{"file_path", entry.path}});
    return false;
  }
  if (static_cast<uint64_t>(size) > kMaxPackedFile) {
    Report(log, kLevelError, "$qad_package_file_too_large", {{"file_path", entry.path}});
    return false;
  }
  if (!compression.empty() && compression != kCompressionLZSS) {
    Report(log, kLevelError, "$qad_package_unknown_compression",
           {{"file_path", entry.path}, {"comp_type", std::string(compression)}});
    return false;
  }
  if (!Orb::ReadWholeFile(entry.path, bytes, kMaxPackedFile)) {
    Report(log, kLevelError, "$qad_package_file_read_err", {{"file_path", entry.path}});
    return false;
  }
  if (compression.empty()) {
    files.SetBinary(entry.name, bytes);
    return true;
  }
  // Size prefix, then the stream in room for the file plus its header byte; the value
  // keeps only the bytes the stream really uses.
  std::vector<uint8_t> block(bytes.size() + 5);
  const uint32_t n = static_cast<uint32_t>(bytes.size());
  for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
  std::span<const uint8_t> in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  size_t stream = LZSSCompress().CompressBlock(in, std::span<uint8_t>(block).subspan(4), 9);
  if (stream == 0) {
    Report(log, kLevelError, "$qad_package_file_too_large", {{"file_path", entry.path}});
    return false;
  }
  files.SetBinary(entry.name, std::string_view(reinterpret_cast<const char*>(block.data()), stream + 4));
  return true;
}

bool PackTree(const std::string& folder, std::string_view compression, const PackageLog& log, TagContainer& files) {
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(folder, entries)) {
    Report(log, kLevelError, "$qad_package_folder_read_err", {{"folder_path", folder}});
    return false;
  }
  bool ok = true;
  for (const Orb::FindEntry& e : entries) {
    if (!IsAllowedPackageName(e.name)) {
      Report(log, kLevelError, "$qad_package_file_bad_name", {{"file_name", e.name}});
      continue;
    }
    if (e.is_folder && !e.is_link) {
      TagContainer sub;
      sub.MakeWritable();
      ok = PackTree(e.path, compression, log, sub) && ok;
      files.SetContainer(e.name, sub);
      continue;
    }
    // A link to a folder is not entered: it could lead out of the asset or round in a loop.
    if (e.is_link && Orb::File::IsFolder(e.path)) continue;
    if (IsSkippedPackageFile(e.name)) continue;
    if (!IsAllowedPackageExtension(e.name)) {
      Report(log, kLevelWarning, "$qad_package_file_bad_ext", {{"file_name", e.name}});
      continue;
    }
    ok = PackFile(e, compression, log, files) && ok;
  }
  return ok;
}

bool CheckTree(const std::string& folder, const PackageLog& log) {
  std::vector<Orb::FindEntry> entries;
  if (!Orb::ListFolder(folder, entries)) {
    Report(log, kLevelError, "$qad_package_folder_err", {{"folder_path", folder}});
    return false;
  }
  bool ok = true;
  for (const Orb::FindEntry& e : entries) {
    if (!IsAllowedPackageName(e.name)) {
      Report(log, kLevelError, "$qad_package_file_bad_name", {{"file_name", e.name}});
      ok = false;
    } else if (e.is_folder && !e.is_link) {
      ok = CheckTree(e.path, log) && ok;
    } else if (e.is_link && Orb::File::IsFolder(e.path)) {
      continue;
    } else if (IsSkippedPackageFile(e.name)) {
      continue;
    } else if (!IsAllowedPackageExtension(e.name)) {
      Report(log, kLevelError, "$qad_package_file_bad_ext", {{"file_name", e.name}});
      ok = false;
    }
  }
  return ok;
}

// The part of a path below the target must have no empty component: no leading separator,
// no two separators in a row, no component of dots alone.
bool HasEmptyComponent(std::string_view relative) {
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find('/', start);
    std::string_view part = relative.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.empty() || part.find_first_not_of('.') == std::string_view::npos) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

std::string WriteMember(const ChildView& child, const std::string& path, std::string_view compression) {
  std::string_view value(reinterpret_cast<const char*>(child.data), child.data ? child.size : 0);
  if (compression.empty()) return Orb::WriteFileNoFollow(path, value) ? "" : kWriteFailed;
  if (compression != kCompressionLZSS) return kUnknownCompression;
  if (value.size() <= 3) return kDecompressFailed;
  const uint8_t* p = child.data;
  const uint32_t declared = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
  std::span<const uint8_t> stream(p + 4, value.size() - 4);
  // No stream of this length can yield more than MaxDecodedSize: a bigger claim is damage,
  // refused before any room is allocated for it.
  if (declared > lzss::MaxDecodedSize(stream.size())) return kDecompressFailed;
  std::vector<uint8_t> out(declared);
  if (lzss::Decode(stream, out) != lzss::DecodeStatus::kOk) return kDecompressFailed;
  return Orb::WriteFileNoFollow(path, std::string_view(reinterpret_cast<const char*>(out.data()), out.size()))
             ? ""
             : kWriteFailed;
}

std::string UnpackTree(ACSChunk* files, const std::string& target, const std::string& relative,
                       std::string_view compression) {
  std::string message;
  files->ForEachChild([&](const ChildView& child) {
    std::string name(child.name);
    if (!IsAllowedPackageName(name)) return true;
    std::string rel = relative.empty() ? name : relative + "/" + name;
    std::string path = Orb::Path::AddPath(target, rel);
    if (child.type == kTypeContainer) {
      if (HasEmptyComponent(rel)) return true;
      if (!Orb::MakeFolderNoFollow(path)) {
        message = kWriteFailed;
        return true;
      }
      if (child.chunk) {
        std::string sub = UnpackTree(child.chunk.Get(), target, rel, compression);
        if (!sub.empty()) message = sub;
      }
    } else if (child.type == kTypeBinary) {
      if (!IsAllowedPackageExtension(name)) return true;
      std::string m = WriteMember(child, path, compression);
      if (!m.empty()) message = m;
    } else {
      message = kUnknownType;
    }
    return true;
  });
  return message;
}

}  // namespace

bool PackFolder(const std::string& folder, std::string_view compression, const PackageLog& log, TagContainer& files) {
  files.MakeWritable();
  return PackTree(folder, compression, log, files);
}

bool CheckFolder(const std::string& folder, const PackageLog& log) { return CheckTree(folder, log); }

std::string UnpackFolder(const TagContainer& files, const std::string& target, std::string_view compression) {
  if (!Orb::File::IsFolder(target) && !Orb::File::Md(target)) return kWriteFailed;
  if (!files.HasRoot()) return "";
  return UnpackTree(files.Root().Get(), target, "", compression);
}

}  // namespace QETLib
