// Fuzz target: arbitrary bytes as a .cdp file, read with its checks, every asset's files
// unpacked into a fresh temporary folder, tables rebuilt; nothing may appear beside the target.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "content/package.h"
#include "content/package_checksum.h"
#include "content/package_folder.h"
#include "engine/file.h"

namespace {

const std::string& Scratch() {
  static std::string root = [] {
    std::string pattern = "/tmp/fuzz_cdpXXXXXX";
    if (!mkdtemp(pattern.data())) abort();
    return pattern;
  }();
  static const bool cleaned = [] {
    atexit([] { Orb::File::Prune(root); });
    return true;
  }();
  (void)cleaned;
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& root = Scratch();
  const std::string file = root + "/in.cdp";
  const std::string target = root + "/box/target";
  if (!Orb::WriteWholeFile(file, std::string_view(reinterpret_cast<const char*>(data), size))) abort();
  QETLib::TagContainer package;
  if (QETLib::ReadPackage(package, root, "in.cdp").empty()) {
    QETLib::TagContainer assets = package.GetContainer("assets");
    QETLib::TagContainer rebuilt;
    for (uint32_t i = 0; i < assets.TagCount(); ++i) {
      QETLib::TagContainer entry(assets.TagValue(i));
      QETLib::TagContainer files = entry.GetContainer("files");
      QETLib::PackageChecksumText(files);
      QETLib::UnpackFolder(files, target, entry.GetText("compression"));
      QETLib::AddAssetToPackage(rebuilt, entry);
    }
    // Everything written must lie below the target: the box holds the target alone.
    std::vector<Orb::FindEntry> box;
    if (Orb::ListFolder(root + "/box", box) && (box.size() != 1 || box[0].name != "target")) __builtin_trap();
    Orb::File::Prune(root + "/box");
  }
  return 0;
}
