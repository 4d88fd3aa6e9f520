#include "support/installation.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace qtest {

std::string SourceDir() { return QUORIX_SOURCE_DIR; }

static std::string MakeTemp() {
  std::string pattern = (fs::temp_directory_path() / "quorix-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

TempFolder::TempFolder() : path_(MakeTemp()) {}
TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

TempInstallation::TempInstallation() : temp_(MakeTemp()), root_(temp_ + "/root") {
  fs::create_directories(root_ + "/bin/QETData");
  fs::copy_file(QUORIX_BINARY, Program());
  fs::permissions(Program(), fs::perms::owner_all, fs::perm_options::add);
}

TempInstallation::~TempInstallation() {
  std::error_code ec;
  fs::remove_all(temp_, ec);
}

void TempInstallation::CopyFromExamples(const std::string& example, const std::string& relative) const {
  fs::path from = fs::path(SourceDir()) / "examples" / example;
  fs::path to = fs::path(root_) / relative;
  fs::create_directories(to.parent_path());
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void TempInstallation::WriteFile(const std::string& relative, const std::string& contents) const {
  fs::path p = fs::path(root_) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << contents;
}

std::string TempInstallation::ReadFile(const std::string& relative) const {
  std::ifstream in(fs::path(root_) / relative, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempInstallation::Exists(const std::string& relative) const { return fs::exists(fs::path(root_) / relative); }

RunResult TempInstallation::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  return RunProgram(Program(), args, options);
}

}  // namespace qtest
