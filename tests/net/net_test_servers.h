// Test servers for the transfer client: Python scripts from tests/net/servers started on
// 127.0.0.1 with ephemeral ports, stopped when the object goes (or by their own lifetime).
#pragma once
#include <string>
#include <vector>

#include "support/installation.h"

namespace nettest {

// The interpreter that has the FTP server library (the system's own, when present).
std::string Python();
// The developer tool that fetches URLs.
std::string FetchTool();

class TestServer {
 public:
  TestServer() = default;
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // Runs tests/net/servers/<script> with `args` plus --port-file and --lifetime, and waits
  // until it announces its port. False when it did not come up.
  bool Start(const std::string& script, const std::vector<std::string>& args);
  void Stop();
  int Port() const { return port_; }

 private:
  qtest::TempFolder folder_;
  int pid_ = -1;
  int port_ = 0;
};

// A test CA, a server certificate it signed for "localhost" only, and a second CA that
// signed nothing the servers use.
struct TestCertificates {
  std::string ca;
  std::string cert;
  std::string key;
  std::string other_ca;
  bool Make(const std::string& folder);
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);
// Bytes that differ from position to position, with every byte value present.
std::string PatternBytes(size_t size, unsigned seed);

}  // namespace nettest
