// Writes the inputs of the whole-command benchmarks: a source tree of asset folders packed
// into an LZSS content package, and installations of committed asset folders with their index.
// Run by bench/commands/*.sh; "gen_assets" alone prints the usage.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "content/package.h"
#include "content/package_folder.h"
#include "content/tag_container.h"
#include "database/asset_index.h"
#include "database/edit_lifecycle.h"
#include "database/folder_scan.h"
#include "database/index_file.h"
#include "engine/file.h"
#include "engine/text.h"

using namespace QETLib;

namespace {

// Mesh-like content that LZSS packs to roughly a third: words, numbers and runs drawn from a
// fixed sequence, so every run writes the same bytes.
std::string Content(uint32_t seed, size_t size) {
  static const char* kWords[] = {"vertex ", "normal ", "uv ", "face ", "bone ", "weight ", "0.000 ", "1.000 "};
  std::string out;
  out.reserve(size + 32);
  uint32_t x = seed * 2654435761u + 1;
  while (out.size() < size) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    if (x % 3 == 0) {
      out += kWords[x % 8];
    } else {
      out += Orb::Format("%u.%03u ", (x >> 8) % 1000, (x >> 4) % 1000);
      if (x % 11 == 0) out += "\r\n";
    }
  }
  out.resize(size);
  return out;
}

bool WriteFile(const std::string& path, std::string_view bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::string ConfigText(const KUID& kuid, int i) {
  static const char* kClasses[] = {"CMP;MESH", "TR;TV;LOCO", "BD;IND;ACTV", "TR;TV;ROLL"};
  return "kuid " + ToBracketString(kuid) + "\r\nkind \"mesh\"\r\nusername \"Bench asset " + std::to_string(i) +
         "\"\r\nquorix-build 3.1\r\ncategory-class \"" + kClasses[i % 4] +
         "\"\r\ncategory-region \"AU\"\r\nmesh-table {\r\n  default {\r\n    mesh \"body.im\"\r\n  }\r\n}\r\n";
}

// One asset folder: its configuration (config.txt, or config.chump for a committed copy),
// body.im and `files - 2` more data files, `bytes` in all.
bool MakeAssetFolder(const std::string& folder, const KUID& kuid, int i, int files, size_t bytes, bool committed) {
  if (!Orb::File::Md(folder)) return false;
  std::string text = ConfigText(kuid, i);
  bool ok;
  if (committed) {
    TagContainer config;
    ReadTextFromString(config, text);
    ok = config.Save(folder + "/config.chump", "chump");
  } else {
    ok = WriteFile(folder + "/config.txt", text);
  }
  size_t data_files = files > 1 ? files - 1 : 1;
  size_t each = bytes > text.size() ? (bytes - text.size()) / data_files : 16;
  for (size_t f = 0; ok && f < data_files; ++f) {
    std::string name = f == 0 ? "body.im" : Orb::Format("part%zu.dat", f);
    ok = WriteFile(folder + "/" + name, Content(static_cast<uint32_t>(i * 16 + f), each));
  }
  return ok;
}

// SRC/asset_N folders (for the tar peer) and OUT holding them all, each file LZSS-packed.
int MakePackage(const std::string& src, const std::string& out, int count, int files, size_t total) {
  TagContainer package;
  package.MakeWritable();
  PackageLog log = [](int, std::string_view tag, const PackageParams&) {
    std::fprintf(stderr, "pack: %.*s\n", static_cast<int>(tag.size()), tag.data());
  };
  for (int i = 0; i < count; ++i) {
    std::string folder = Orb::Format("%s/asset_%d", src.c_str(), i);
    KUID kuid{777, i, 0};
    if (!MakeAssetFolder(folder, kuid, i, files, total / count, false)) return 1;
    TagContainer config, packed;
    ReadTextFromString(config, ConfigText(kuid, i));
    if (!PackFolder(folder, kCompressionLZSS, log, packed)) return 1;
    std::string refused = AddAssetToPackage(package, MakePackageEntry(config, packed, true));
    if (!refused.empty()) {
      std::fprintf(stderr, "%s\n", refused.c_str());
      return 1;
    }
  }
  std::string error = WritePackage(package, out);
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return error.empty() ? 0 : 1;
}

// ROOT/local/hash-XX/asset_N committed folders and ROOT/assets.tdx indexing them.
int MakeInstallation(const std::string& root, int count, int files, size_t each) {
  for (int i = 0; i < count; ++i) {
    KUID kuid{888, i, 0};
    std::string folder = root + "/local/" + CommittedBucketName(kuid) + "/asset_" + std::to_string(i);
    if (!MakeAssetFolder(folder, kuid, i, files, each, true)) return 1;
  }
  AssetIndex index;
  RebuildIndexByScan(index, root);
  if (static_cast<int>(index.Size()) != count) {
    std::fprintf(stderr, "indexed %zu of %d assets\n", static_cast<size_t>(index.Size()), count);
    return 1;
  }
  return WriteIndexFile(index, root + "/assets.tdx") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "package" && argc == 7)
    return MakePackage(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::strtoull(argv[6], nullptr, 10));
  if (mode == "installation" && argc == 6)
    return MakeInstallation(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::strtoull(argv[5], nullptr, 10));
  std::fprintf(stderr,
               "usage: gen_assets package SRC OUT.cdp COUNT FILES TOTAL_BYTES\n"
               "       gen_assets installation ROOT COUNT FILES BYTES_PER_ASSET\n");
  return 2;
}
