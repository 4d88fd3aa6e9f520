// Child processes for the transfer benchmark: the loopback test servers (announcing their
// ports through a file), the clients being timed, and the test certificates.
#pragma once
#include <string>
#include <vector>

namespace netbench {

// Runs a program to its end with output discarded; its exit code (or 128 + signal).
int Run(const std::string& program, const std::vector<std::string>& args, const std::string& cwd = "");

class Server {
 public:
  ~Server();
  // Starts tests/net/servers/<script>; false when it did not announce a port.
  bool Start(const std::string& script, std::vector<std::string> args, const std::string& folder);
  int Port() const { return port_; }

 private:
  int pid_ = -1;
  int port_ = 0;
};

// ca.pem, server.pem and server.key (for "localhost") in `folder`.
bool MakeCertificates(const std::string& folder);

}  // namespace netbench
