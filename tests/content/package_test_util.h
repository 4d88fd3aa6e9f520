// Helpers for the package tests: a temporary folder removed afterwards, file writing, and a
// log callback that records the package layer's message tags.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "content/package_folder.h"
#include "engine/file.h"
#include "engine/path.h"

namespace package_test {

class TempDir {
 public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "cdpXXXXXX";
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    if (!path_.empty()) Orb::File::Prune(path_);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return Orb::Path::AddPath(path_, name); }

 private:
  std::string path_;
};

inline void Put(const std::string& path, std::string_view bytes) {
  Orb::File::Md(Orb::Path::DelName(path));
  ASSERT_TRUE(Orb::WriteWholeFile(path, bytes)) << path;
}

inline std::string Get(const std::string& path) {
  std::string s;
  return Orb::ReadWholeFile(path, s) ? s : std::string("<missing>");
}

struct Logged {
  int level;
  std::string tag;
  QETLib::PackageParams params;
};

struct Recorder {
  std::vector<Logged> entries;
  QETLib::PackageLog Log() {
    return [this](int level, std::string_view tag, const QETLib::PackageParams& p) {
      entries.push_back({level, std::string(tag), p});
    };
  }
};

}  // namespace package_test
