// HTTP transfers against a real server on 127.0.0.1: the three body forms, keep-alive,
// the exact request head, redirects, error classes, cookies, form posts, broken replies.
#include <gtest/gtest.h>

#include <memory>

#include "content/tag_container.h"
#include "engine/application.h"
#include "net/http_connection.h"
#include "net/net_fetch.h"
#include "net/net_test_servers.h"

namespace Net {
namespace {

class HTTPTransfer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Orb::SetApplicationName("QuorixUtil");
    root_ = std::make_unique<qtest::TempFolder>();
    nettest::WriteFile(root_->Path() + "/small.bin", Small());
    nettest::WriteFile(root_->Path() + "/empty.bin", "");
    server_ = std::make_unique<nettest::TestServer>();
    ASSERT_TRUE(server_->Start("http_server.py", {"--root", root_->Path()}));
  }
  static void TearDownTestSuite() {
    server_.reset();
    root_.reset();
  }
  static const std::string& Small() {
    static const std::string data = nettest::PatternBytes(100000, 1);
    return data;
  }
  static Endpoint Local() { return {"127.0.0.1", server_->Port(), "", 0}; }
  static std::string Host() { return "127.0.0.1:" + std::to_string(server_->Port()); }
  static std::string URL(const std::string& path) { return "http://" + Host() + path; }
  std::string Out() const { return out_.Path() + "/out"; }

  static std::unique_ptr<qtest::TempFolder> root_;
  static std::unique_ptr<nettest::TestServer> server_;
  qtest::TempFolder out_;
};

std::unique_ptr<qtest::TempFolder> HTTPTransfer::root_;
std::unique_ptr<nettest::TestServer> HTTPTransfer::server_;

TEST_F(HTTPTransfer, BodyForms) {
  struct Case {
    const char* path;
    std::string body;
    bool closes;
  } cases[] = {
      {"/files/small.bin", Small(), false},  {"/chunked/small.bin", Small(), false},
      {"/close/small.bin", Small(), true},   {"/files/empty.bin", "", false},
      {"/chunked/empty.bin", "", false},     {"/lf-only/x", "hello", false},
      {"/lfcr/x", "hello", false},           {"/no-reason", "ok", false},
      {"/no-content", "", false},
  };
  for (const Case& c : cases) {
    HTTPConnection http;
    ASSERT_TRUE(http.Connect(Local(), false));
    ASSERT_TRUE(http.Get(Host(), c.path)) << c.path << ": " << http.LastError();
    EXPECT_EQ(http.StatusClass(), kHTTPSuccess);
    ASSERT_TRUE(http.ReadBodyToFile(Out())) << c.path << ": " << http.LastError();
    EXPECT_EQ(nettest::ReadFile(Out()), c.body) << c.path;
    EXPECT_EQ(http.BytesTransferred(), static_cast<int64_t>(c.body.size())) << c.path;
    EXPECT_EQ(http.CloseFlag(), c.closes) << c.path;
    EXPECT_EQ(http.Status(), 0);
  }
}

TEST_F(HTTPTransfer, KeepAliveCarriesCookiesAndLeavesNextReplyIntact) {
  HTTPConnection http;
  ASSERT_TRUE(http.Connect(Local(), false));
  ASSERT_TRUE(http.Get(Host(), "/cookie/set"));
  ASSERT_TRUE(http.SkipBody());
  EXPECT_EQ(http.Cookies().Count(), 4u);
  // Same connection: the chunked body must leave the next reply untouched.
  ASSERT_TRUE(http.Get(Host(), "/chunked/small.bin"));
  ASSERT_TRUE(http.ReadBodyToFile(Out()));
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  ASSERT_TRUE(http.Get(Host(), "/cookie/echo")) << http.LastError();
  ASSERT_TRUE(http.ReadBodyToFile(Out()));
  EXPECT_EQ(nettest::ReadFile(Out()), "a=11;b=2;" + std::string(31, 'N') + "=" + std::string(255, 'v') + ";c=3");
}

TEST_F(HTTPTransfer, RequestHeadIsExact) {
  HTTPConnection http;
  ASSERT_TRUE(http.Connect(Local(), false));
  http.Cookies().Set("k", "v");
  ASSERT_TRUE(http.Get(Host(), "/echo?x=1"));
  ASSERT_TRUE(http.ReadBodyToFile(Out()));
  EXPECT_EQ(nettest::ReadFile(Out()),
            "GET /echo?x=1 HTTP/1.1\r\nUser-Agent: QuorixUtil/40088 (QRS) QuorixUtil/40088\r\nHost: " + Host() +
                "\r\nProxy-Connection: Keep-Alive\r\nConnection: Keep-Alive\r\nCookie: k=v\r\n\r\n");
  EXPECT_TRUE(http.CloseFlag());
  EXPECT_FALSE(http.SendGet(Host(), "/a b\r\nX-Injected: 1"));
}

TEST_F(HTTPTransfer, RedirectsAndErrorClasses) {
  HTTPConnection http;
  EXPECT_EQ(http.Status(), 6);  // no transport yet
  ASSERT_TRUE(http.Connect(Local(), false));
  ASSERT_TRUE(http.Get(Host(), "/redirect/files/small.bin"));
  EXPECT_EQ(http.StatusClass(), kHTTPRedirect);
  EXPECT_EQ(http.Location(), "/files/small.bin");
  EXPECT_EQ(http.Status(), 0);
  ASSERT_TRUE(http.SkipBody());
  for (const char* path : {"/missing", "/server-error"}) {
    EXPECT_FALSE(http.Get(Host(), path));
    EXPECT_EQ(http.StatusClass(), kHTTPError);
    EXPECT_EQ(http.Status(), 4);
    ASSERT_TRUE(http.SkipBody());
  }

  FetchResult r = FetchURL(URL("/redirect/redirect-abs/files/small.bin"), Out());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.redirects, 2);
  EXPECT_EQ(nettest::ReadFile(Out()), Small());
  r = FetchURL(URL("/redirect-loop"), Out());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("redirects"), std::string::npos);
  // The cookie set by the redirect reply goes along to its target.
  r = FetchURL(URL("/cookie/redirect"), Out());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(nettest::ReadFile(Out()), "session=xyz");

  HTTPConnection refused;
  EXPECT_FALSE(refused.Connect({"127.0.0.1", 1, "", 0}, false));
  EXPECT_EQ(refused.Status(), 2);
}

TEST_F(HTTPTransfer, MultipartPostArrivesIntact) {
  std::string file_bytes = nettest::PatternBytes(70000, 9);
  QETLib::TagContainer form;
  form.SetString("username", "Rail Fan");
  QETLib::TagContainer file;
  file.SetBinary("filedata", file_bytes);
  file.SetString("filename", "asset.cdp");
  form.SetContainer("upload", file);
  HTTPConnection http;
  http.Cookies().Set("session", "s1");
  ASSERT_TRUE(http.Connect(Local(), false));
  ASSERT_TRUE(http.SendPost(Host(), "/echo", form)) << http.LastError();
  ASSERT_TRUE(http.ReadReply());
  ASSERT_TRUE(http.ReadBodyToFile(Out()));
  std::string body =
      "--1E3N2D4\r\ncontent-disposition: form-data; name=\"username\"\r\n\r\nRail Fan\r\n"
      "--1E3N2D4\r\ncontent-disposition: form-data; name=\"upload\"; filename=\"asset.cdp\"\r\n"
      "Content-type: application/binary\r\nContent-Transfer-Encoding: binary\r\nContent-Length: 70000\r\n\r\n" +
      file_bytes + "\r\n--1E3N2D4--";
  EXPECT_EQ(nettest::ReadFile(Out()),
            "POST /echo HTTP/1.1\r\nUser-Agent: QuorixUtil/40088 (QRS) QuorixUtil/40088\r\nHost: " + Host() +
                "\r\nConnection: Close\r\nContent-type: multipart/form-data, boundary=1E3N2D4\r\nCookie: session=s1\r\n"
                "Content-length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}

TEST_F(HTTPTransfer, MalformedRepliesFailCleanly) {
  struct Case {
    const char* path;
    bool ok;
    int status;
    const char* error;
  } cases[] = {
      {"/bad/huge-header", true, 0, ""},  // cut at 511 characters; its tail is no header
      {"/bad/endless-header", false, 0, "too long"},
      {"/bad/chunk-size", false, 0, "malformed chunked"},
      {"/bad/chunk-overflow", false, 0, "malformed chunked"},
      {"/bad/chunk-close", false, 0, "ended early"},
      {"/bad/early-close", false, 0, "ended after 10 of 1000"},
      {"/bad/header-close", false, 0, "cut off"},
      {"/bad/no-status", false, 7, "not an HTTP reply"},
      {"/bad/empty-first-line", false, 7, "no reply"},
      {"/bad/nothing", false, 7, "no reply"},
  };
  for (const Case& c : cases) {
    FetchResult r = FetchURL(URL(c.path), Out());
    EXPECT_EQ(r.ok, c.ok) << c.path;
    EXPECT_EQ(r.status, c.status) << c.path;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.path << ": " << r.error;
  }
  FetchResult r = FetchURL(URL("/bad/huge-header"), Out());
  EXPECT_EQ(r.redirects, 0);
  EXPECT_EQ(nettest::ReadFile(Out()), "hello");
}

}  // namespace
}  // namespace Net
