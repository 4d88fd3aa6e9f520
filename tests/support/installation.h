// A fresh installation folder for end-to-end tests: TMP/root with the built program
// copied to root/bin/QuorixUtil and an empty root/bin/QETData.
#pragma once
#include <string>
#include <vector>

#include "support/run.h"

namespace qtest {

class TempInstallation {
 public:
  TempInstallation();  // an empty installation
  ~TempInstallation();
  TempInstallation(const TempInstallation&) = delete;
  TempInstallation& operator=(const TempInstallation&) = delete;

  const std::string& Root() const { return root_; }
  std::string Program() const { return root_ + "/bin/QuorixUtil"; }
  std::string PathOf(const std::string& relative) const { return root_ + "/" + relative; }

  // Copies a file or folder tree from the source tree's examples/ (relative path) to a
  // path relative to the root.
  void CopyFromExamples(const std::string& example, const std::string& relative) const;
  void WriteFile(const std::string& relative, const std::string& contents) const;
  std::string ReadFile(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

  // Runs the installed program with these arguments (argv[0] is the program path).
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;

 private:
  std::string temp_;
  std::string root_;
};

// A fresh temporary folder removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string SourceDir();

}  // namespace qtest
