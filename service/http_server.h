// The service's listening socket: accepts connections on the I/O thread,
// plain or TLS, refuses those beyond the connection limit, and hands every
// parsed request to one handler.
#pragma once

#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "service/http_types.h"
#include "service/service_log.h"

namespace vmx::service {

struct TlsContext;  // the build's HTTPS side has it

class HttpServer {
 public:
  HttpServer(boost::asio::io_context& io, RequestHandler handler, ServiceLog& log);
  // Uses the certificate chain and key for every connection from now on;
  // false with `problem` when they cannot be used or this build has no HTTPS.
  bool UseTls(const std::string& certificate, const std::string& key, std::string& problem);
  // Binds and listens; false with `problem` when it cannot.
  bool Listen(const std::string& host, int port, std::string& problem);
  int Port() const;
  void Stop();
  size_t Connections() const { return *connections_; }
  size_t Streams() const { return *streams_; }

 private:
  void Accept();
  void StartTls(boost::asio::ip::tcp::socket socket, const std::string& address);

  boost::asio::io_context& io_;
  RequestHandler handler_;
  ServiceLog& log_;
  boost::asio::ip::tcp::acceptor acceptor_;
  std::shared_ptr<TlsContext> tls_;
  std::shared_ptr<size_t> connections_ = std::make_shared<size_t>(0);
  std::shared_ptr<size_t> streams_ = std::make_shared<size_t>(0);
};

}  // namespace vmx::service
