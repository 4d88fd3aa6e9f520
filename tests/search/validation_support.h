// Helpers for validation tests: configurations from text, asset folders on disk, and the
// demo installation's data folder.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "content/tag_container.h"
#include "support/installation.h"

namespace qtest {

inline QETLib::TagContainer ConfigFromText(const std::string& text) {
  QETLib::TagContainer config;
  QETLib::ReadTextFromString(config, text);
  return config;
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string DemoDataFolder() { return SourceDir() + "/examples/installation/bin/QETData/"; }

}  // namespace qtest
