// The one process-wide SSL client context, made on first use: the system's trusted
// certificates, TLS 1.2 or later, and a socket channel that never raises SIGPIPE.
#pragma once
#include <openssl/ssl.h>

#include <string>

namespace Net {

class SSLClientContext {
 public:
  // The shared context; null when OpenSSL could not make one.
  static SSL_CTX* Get();
  // Trusts the certificates in a PEM file in addition to the system's (private servers,
  // tests). False when the file holds none.
  static bool AddTrustedCertificates(const std::string& pem_path);
  // An OpenSSL channel on a connected socket whose writes never raise SIGPIPE.
  static BIO* NewSocketBIO(int fd);
  // The text of OpenSSL's most recent error, cleared from its queue.
  static std::string LastErrorText();
};

}  // namespace Net
