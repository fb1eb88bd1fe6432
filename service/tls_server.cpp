// HTTPS for the service's connections, on OpenSSL through Asio.
#include <boost/asio/ssl.hpp>
#include <boost/beast/ssl.hpp>

#include "service/http_connection.h"
#include "service/http_server.h"

namespace vmx::service {

using TlsStream = beast::ssl_stream<beast::tcp_stream>;
template <>
inline constexpr bool kIsTlsStream<TlsStream> = true;

struct TlsContext {
  net::ssl::context context{net::ssl::context::tls_server};
};

bool TlsInThisBuild() {
  return true;
}

bool HttpServer::UseTls(const std::string& certificate, const std::string& key,
                        std::string& problem) {
  try {
    auto tls = std::make_shared<TlsContext>();
    tls->context.set_options(net::ssl::context::default_workarounds | net::ssl::context::no_sslv2 |
                             net::ssl::context::no_sslv3 | net::ssl::context::no_tlsv1 |
                             net::ssl::context::no_tlsv1_1 | net::ssl::context::single_dh_use);
    tls->context.use_certificate_chain_file(certificate);
    tls->context.use_private_key_file(key, net::ssl::context::pem);
    tls_ = std::move(tls);
    return true;
  } catch (const std::exception& e) {
    problem = "the TLS certificate or key could not be used: " + std::string(e.what());
    return false;
  }
}

void HttpServer::StartTls(net::ip::tcp::socket socket, const std::string& address) {
  std::make_shared<HttpConnection<TlsStream>>(TlsStream(std::move(socket), tls_->context), handler_,
                                              connections_, streams_, address)
      ->Start();
}

}  // namespace vmx::service
