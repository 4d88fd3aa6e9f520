// Test-side handle of one ownership worker process: commands go to its standard input,
// each answer is one line of its standard output.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace qtest {

class WorkerProcess {
 public:
  explicit WorkerProcess(const std::vector<std::pair<std::string, std::string>>& env = {}) {
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_child[0], 0);
      dup2(from_child[1], 1);
      for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) close(fd);
      for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
      execl(QUORIX_IPC_WORKER, QUORIX_IPC_WORKER, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    in_ = fdopen(to_child[1], "w");
    out_ = fdopen(from_child[0], "r");
  }
  ~WorkerProcess() {
    if (in_) fclose(in_);  // end of input: the worker closes its controller and ends
    if (out_) fclose(out_);
    if (pid_ > 0 && !reaped_) {
      int status;
      waitpid(pid_, &status, 0);
    }
  }
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  int Pid() const { return pid_; }

  // Sends one command and returns the answer line ("" when the worker is gone).
  std::string Ask(const std::string& command) {
    if (!in_ || !out_) return "";
    std::fprintf(in_, "%s\n", command.c_str());
    std::fflush(in_);
    char line[512];
    if (!std::fgets(line, sizeof line, out_)) return "";
    std::string answer(line);
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    return answer;
  }
  // Sends a command without waiting for the answer (one that blocks).
  void Send(const std::string& command) {
    std::fprintf(in_, "%s\n", command.c_str());
    std::fflush(in_);
  }
  std::string ReadAnswer() {
    char line[512];
    if (!out_ || !std::fgets(line, sizeof line, out_)) return "";
    std::string answer(line);
    while (!answer.empty() && answer.back() == '\n') answer.pop_back();
    return answer;
  }

  void Kill() {
    kill(pid_, SIGKILL);
    int status;
    waitpid(pid_, &status, 0);
    reaped_ = true;
  }

 private:
  int pid_ = -1;
  bool reaped_ = false;
  FILE* in_ = nullptr;
  FILE* out_ = nullptr;
};

}  // namespace qtest
