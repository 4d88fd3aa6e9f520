#include "bench_servers.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace netbench {

namespace {

int Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& cwd) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int null_fd = open("/dev/null", O_RDWR);
  dup2(null_fd, 0);
  dup2(null_fd, 1);
  dup2(null_fd, 2);
  if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
  setenv("PYTHONDONTWRITEBYTECODE", "1", 1);  // nothing written into the source tree
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

std::string Python() { return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "/usr/local/bin/python3"; }

}  // namespace

int Run(const std::string& program, const std::vector<std::string>& args, const std::string& cwd) {
  int pid = Spawn(program, args, cwd);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Server::~Server() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

bool Server::Start(const std::string& script, std::vector<std::string> args, const std::string& folder) {
  std::string port_file = folder + "/" + script + "." + std::to_string(args.size()) + ".port";
  unlink(port_file.c_str());
  args.insert(args.begin(), {std::string(QUORIX_SOURCE_DIR) + "/tests/net/servers/" + script, "--port-file", port_file,
                             "--lifetime", "1800"});
  pid_ = Spawn(Python(), args, "");
  for (int i = 0; i < 1000 && pid_ > 0; ++i) {
    std::ifstream in(port_file);
    if (in >> port_ && port_ > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

bool MakeCertificates(const std::string& folder) {
  std::ofstream(folder + "/server.ext") << "subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\n";
  const std::string openssl = "/usr/bin/openssl";
  return Run(openssl, {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Quorix bench CA"},
             folder) == 0 &&
         Run(openssl, {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       "server.key", "-out", "server.csr", "-subj", "/CN=localhost"},
             folder) == 0 &&
         Run(openssl, {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-set_serial", "9",
                       "-days", "2", "-extfile", "server.ext", "-out", "server.pem"},
             folder) == 0;
}

}  // namespace netbench
