// Runs a program as a child process and captures its output and exit code.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace qtest {

struct RunResult {
  std::string out;
  std::string err;
  int exit_code = -1;  // 0..255, or 128+signal when killed
};

struct RunOptions {
  std::string cwd;                                         // "" keeps the test's folder
  std::vector<std::pair<std::string, std::string>> env;   // added to the environment
  std::string input;                                       // fed to standard input
};

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args, const RunOptions& options = {});

// Starts a program in the background; returns its pid (output discarded).
int StartProgram(const std::string& program, const std::vector<std::string>& args, const RunOptions& options = {});
// Waits for a started program and returns its exit code as RunResult does.
int WaitProgram(int pid);

}  // namespace qtest
