#include "net/net_test_servers.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run.h"

namespace nettest {

std::string Python() {
  if (access("/usr/bin/python3", X_OK) == 0) return "/usr/bin/python3";
  return "/usr/local/bin/python3";
}

std::string FetchTool() { return QUORIX_NET_FETCH; }

TestServer::~TestServer() { Stop(); }

void TestServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  qtest::WaitProgram(pid_);
  pid_ = -1;
}

bool TestServer::Start(const std::string& script, const std::vector<std::string>& args) {
  std::string port_file = folder_.Path() + "/port";
  std::vector<std::string> all = {qtest::SourceDir() + "/tests/net/servers/" + script, "--port-file", port_file,
                                  "--lifetime", "120"};
  all.insert(all.end(), args.begin(), args.end());
  qtest::RunOptions options;
  options.env = {{"PYTHONDONTWRITEBYTECODE", "1"}};  // nothing written into the source tree
  pid_ = qtest::StartProgram(Python(), all, options);
  if (pid_ <= 0) return false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(port_file);
    if (in >> port_ && port_ > 0) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Stop();
  return false;
}

namespace {

bool OpenSSL(const std::vector<std::string>& args, const std::string& folder) {
  qtest::RunOptions options;
  options.cwd = folder;
  return qtest::RunProgram("/usr/bin/openssl", args, options).exit_code == 0;
}

bool MakeCA(const std::string& folder, const std::string& name) {
  return OpenSSL({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                  name + ".key", "-out", name + ".pem", "-days", "2", "-subj", "/CN=Quorix " + name},
                 folder);
}

}  // namespace

bool TestCertificates::Make(const std::string& folder) {
  WriteFile(folder + "/server.ext",
            "subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature\n"
            "extendedKeyUsage=serverAuth\n");
  bool ok = MakeCA(folder, "ca") && MakeCA(folder, "other") &&
            OpenSSL({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", "server.key",
                     "-out", "server.csr", "-subj", "/CN=localhost"},
                    folder) &&
            OpenSSL({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-set_serial", "7", "-days",
                     "2", "-extfile", "server.ext", "-out", "server.pem"},
                    folder);
  ca = folder + "/ca.pem";
  other_ca = folder + "/other.pem";
  cert = folder + "/server.pem";
  key = folder + "/server.key";
  return ok;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

std::string PatternBytes(size_t size, unsigned seed) {
  std::string data(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    data[i] = static_cast<char>((x >> 16) ^ i);
  }
  return data;
}

}  // namespace nettest
