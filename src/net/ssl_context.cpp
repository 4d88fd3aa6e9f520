#include "net/ssl_context.h"

#include <openssl/err.h>
#include <sys/socket.h>

#include <cerrno>
#include <mutex>

#include "engine/log.h"

namespace Net {

namespace {

std::mutex g_context_mutex;

SSL_CTX* MakeContext() {
  SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
  if (!ctx) return nullptr;
  SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
  SSL_CTX_set_mode(ctx, SSL_MODE_AUTO_RETRY);
  if (SSL_CTX_set_default_verify_paths(ctx) != 1) {
    Orb::Log::Printf("SSLClientContext> no system certificate store\n");
    ERR_clear_error();
  }
  return ctx;
}

// Socket channel: plain recv/send, with MSG_NOSIGNAL so a peer that went away gives an
// error instead of ending the process.
int SocketWrite(BIO* bio, const char* data, int size) {
  BIO_clear_retry_flags(bio);
  ssize_t n;
  do {
    n = send(static_cast<int>(BIO_get_fd(bio, nullptr)), data, static_cast<size_t>(size), MSG_NOSIGNAL);
  } while (n < 0 && errno == EINTR);
  return static_cast<int>(n);
}

int SocketRead(BIO* bio, char* buffer, int size) {
  BIO_clear_retry_flags(bio);
  ssize_t n;
  do {
    n = recv(static_cast<int>(BIO_get_fd(bio, nullptr)), buffer, static_cast<size_t>(size), 0);
  } while (n < 0 && errno == EINTR);
  if (n == 0) BIO_set_flags(bio, BIO_FLAGS_IN_EOF);
  return static_cast<int>(n);
}

long SocketCtrl(BIO* bio, int cmd, long num, void* ptr) {
  switch (cmd) {
    case BIO_C_SET_FD:
      BIO_set_data(bio, reinterpret_cast<void*>(static_cast<intptr_t>(*static_cast<int*>(ptr))));
      BIO_set_init(bio, 1);
      (void)num;
      return 1;
    case BIO_C_GET_FD: {
      int fd = static_cast<int>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
      if (ptr) *static_cast<int*>(ptr) = fd;
      return fd;
    }
    case BIO_CTRL_FLUSH:
      return 1;
    case BIO_CTRL_EOF:
      return BIO_test_flags(bio, BIO_FLAGS_IN_EOF) != 0;
    default:
      return 0;
  }
}

int SocketCreate(BIO* bio) {
  BIO_set_init(bio, 0);
  BIO_set_data(bio, reinterpret_cast<void*>(static_cast<intptr_t>(-1)));
  return 1;
}

// The socket belongs to the transport, which closes it.
int SocketDestroy(BIO*) { return 1; }

BIO_METHOD* SocketMethod() {
  static BIO_METHOD* method = [] {
    BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK | BIO_TYPE_DESCRIPTOR, "quorix socket");
    if (!m) return m;
    BIO_meth_set_write(m, SocketWrite);
    BIO_meth_set_read(m, SocketRead);
    BIO_meth_set_ctrl(m, SocketCtrl);
    BIO_meth_set_create(m, SocketCreate);
    BIO_meth_set_destroy(m, SocketDestroy);
    return m;
  }();
  return method;
}

}  // namespace

SSL_CTX* SSLClientContext::Get() {
  static SSL_CTX* context = MakeContext();
  return context;
}

bool SSLClientContext::AddTrustedCertificates(const std::string& pem_path) {
  SSL_CTX* ctx = Get();
  if (!ctx) return false;
  std::lock_guard<std::mutex> hold(g_context_mutex);
  if (SSL_CTX_load_verify_locations(ctx, pem_path.c_str(), nullptr) != 1) {
    Orb::Log::Printf("SSLClientContext> cannot load certificates from %s\n", pem_path.c_str());
    ERR_clear_error();
    return false;
  }
  return true;
}

BIO* SSLClientContext::NewSocketBIO(int fd) {
  BIO_METHOD* method = SocketMethod();
  if (!method) return nullptr;
  BIO* bio = BIO_new(method);
  if (!bio) return nullptr;
  BIO_set_fd(bio, fd, BIO_NOCLOSE);
  return bio;
}

std::string SSLClientContext::LastErrorText() {
  unsigned long code = ERR_get_error();
  std::string text;
  if (code != 0) {
    char buf[256];
    ERR_error_string_n(code, buf, sizeof buf);
    text = buf;
  }
  ERR_clear_error();
  return text;
}

}  // namespace Net
