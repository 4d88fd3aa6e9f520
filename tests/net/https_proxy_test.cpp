// HTTPS with the server's certificate checked (trusted test CA, host name) or not, and the
// CONNECT tunnel through a proxy for plain and SSL connections.
#include <gtest/gtest.h>

#include <memory>

#include "engine/application.h"
#include "net/http_connection.h"
#include "net/net_fetch.h"
#include "net/net_test_servers.h"
#include "net/ssl_context.h"
#include "support/run.h"

namespace Net {
namespace {

class SecureTransfer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Orb::SetApplicationName("QuorixUtil");
    folder_ = std::make_unique<qtest::TempFolder>();
    certs_ = std::make_unique<nettest::TestCertificates>();
    ASSERT_TRUE(certs_->Make(folder_->Path()));
    nettest::WriteFile(folder_->Path() + "/small.bin", Small());
    https_ = std::make_unique<nettest::TestServer>();
    ASSERT_TRUE(https_->Start("http_server.py", {"--root", folder_->Path(), "--cert", certs_->cert, "--key", certs_->key}));
    http_ = std::make_unique<nettest::TestServer>();
    ASSERT_TRUE(http_->Start("http_server.py", {"--root", folder_->Path()}));
    proxy_ = std::make_unique<nettest::TestServer>();
    ASSERT_TRUE(proxy_->Start("proxy_server.py", {"--log", ProxyLog()}));
    refusing_ = std::make_unique<nettest::TestServer>();
    ASSERT_TRUE(refusing_->Start("proxy_server.py", {"--log", folder_->Path() + "/refused.log", "--refuse"}));
  }
  static void TearDownTestSuite() {
    refusing_.reset();
    proxy_.reset();
    http_.reset();
    https_.reset();
    folder_.reset();
  }
  static const std::string& Small() {
    static const std::string data = nettest::PatternBytes(50000, 5);
    return data;
  }
  static std::string ProxyLog() { return folder_->Path() + "/proxy.log"; }
  static std::string Secure(const std::string& host, const std::string& path) {
    return "https://" + host + ":" + std::to_string(https_->Port()) + path;
  }
  static FetchOptions Options(bool verify, bool proxied = false) {
    FetchOptions o;
    o.transport.verify_peer = verify;
    o.transport.timeout_seconds = 20;
    if (proxied) {
      o.proxy_host = "127.0.0.1";
      o.proxy_port = proxy_->Port();
    }
    return o;
  }
  int Tool(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"--quiet", "--timeout", "20"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back(Out());
    return qtest::RunProgram(nettest::FetchTool(), all).exit_code;
  }
  std::string Out() const { return out_.Path() + "/out"; }

  static std::unique_ptr<qtest::TempFolder> folder_;
  static std::unique_ptr<nettest::TestCertificates> certs_;
  static std::unique_ptr<nettest::TestServer> https_, http_, proxy_, refusing_;
  qtest::TempFolder out_;
};

std::unique_ptr<qtest::TempFolder> SecureTransfer::folder_;
std::unique_ptr<nettest::TestCertificates> SecureTransfer::certs_;
std::unique_ptr<nettest::TestServer> SecureTransfer::https_, SecureTransfer::http_, SecureTransfer::proxy_,
    SecureTransfer::refusing_;

TEST_F(SecureTransfer, CertificateChecks) {
  // Each check runs the tool in a fresh process, untouched by what this process trusts.
  EXPECT_EQ(Tool({Secure("localhost", "/files/small.bin")}), 2);  // unknown CA
  EXPECT_EQ(Tool({"--cacert", certs_->other_ca, Secure("localhost", "/files/small.bin")}), 2);
  EXPECT_EQ(Tool({"--cacert", certs_->ca, Secure("127.0.0.1", "/files/small.bin")}), 2);  // name not in the certificate
  EXPECT_EQ(Tool({"--cacert", certs_->ca, Secure("localhost", "/files/small.bin")}), 0);
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  EXPECT_EQ(Tool({"--insecure", Secure("127.0.0.1", "/chunked/small.bin")}), 0);
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
}

TEST_F(SecureTransfer, VerifiedAndUnverifiedInProcess) {
  ASSERT_TRUE(SSLClientContext::AddTrustedCertificates(certs_->ca));
  for (const char* path : {"/files/small.bin", "/chunked/small.bin", "/close/small.bin"}) {
    FetchResult r = FetchURL(Secure("localhost", path), Out(), Options(true));
    ASSERT_TRUE(r.ok) << path << ": " << r.error;
    EXPECT_EQ(nettest::ReadFile(Out()), Small()) << path;
  }
  FetchResult wrong_name = FetchURL(Secure("127.0.0.1", "/files/small.bin"), Out(), Options(true));
  EXPECT_FALSE(wrong_name.ok);
  EXPECT_EQ(wrong_name.status, 2);
  EXPECT_NE(wrong_name.error.find("certificate rejected"), std::string::npos) << wrong_name.error;
  FetchResult unchecked = FetchURL(Secure("127.0.0.1", "/files/small.bin"), Out(), Options(false));
  EXPECT_TRUE(unchecked.ok) << unchecked.error;
  FetchResult cut = FetchURL(Secure("localhost", "/bad/early-close"), Out(), Options(true));
  EXPECT_FALSE(cut.ok);
  // Plain HTTP spoken to the SSL port is no session.
  FetchResult plain = FetchURL("http://127.0.0.1:" + std::to_string(https_->Port()) + "/files/small.bin", Out(),
                               Options(false));
  EXPECT_FALSE(plain.ok);
}

TEST_F(SecureTransfer, ThroughTheProxyTunnel) {
  std::string plain_url = "http://127.0.0.1:" + std::to_string(http_->Port()) + "/chunked/small.bin";
  FetchResult r = FetchURL(plain_url, Out(), Options(false, true));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  EXPECT_EQ(Tool({"--proxy", "127.0.0.1:" + std::to_string(proxy_->Port()), "--insecure",
                  Secure("localhost", "/files/small.bin")}),
            0);
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  EXPECT_EQ(Tool({"--proxy", "127.0.0.1:" + std::to_string(proxy_->Port()), "--cacert", certs_->ca,
                  Secure("localhost", "/redirect/files/small.bin")}),
            0);
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  std::string log = nettest::ReadFile(ProxyLog());
  EXPECT_NE(log.find("CONNECT 127.0.0.1:" + std::to_string(http_->Port()) + " HTTP/1.0 \r\n\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("CONNECT localhost:" + std::to_string(https_->Port()) + " HTTP/1.0 \r\n\r\n"), std::string::npos) << log;
}

TEST_F(SecureTransfer, ProxyFailuresReportCodeOne) {
  HTTPConnection http;
  Endpoint through_refusing{"127.0.0.1", http_->Port(), "127.0.0.1", refusing_->Port()};
  EXPECT_FALSE(http.Connect(through_refusing, false));
  EXPECT_EQ(http.Status(), 1);
  EXPECT_FALSE(http.Connect(through_refusing, true));
  EXPECT_EQ(http.Status(), 1);
  Endpoint no_proxy{"127.0.0.1", http_->Port(), "127.0.0.1", 1};
  EXPECT_FALSE(http.Connect(no_proxy, false));
  EXPECT_EQ(http.Status(), 1);
  EXPECT_EQ(Tool({"--proxy", "127.0.0.1:" + std::to_string(refusing_->Port()),
                  "http://127.0.0.1:" + std::to_string(http_->Port()) + "/files/small.bin"}),
            1);
}

}  // namespace
}  // namespace Net
