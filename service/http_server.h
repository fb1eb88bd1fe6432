// The service's listening socket: accepts connections on the I/O thread,
// plain or TLS, refuses those beyond the connection limit, and hands every
// parsed request to one handler.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>

#include "service/http_types.h"
#include "service/service_log.h"

namespace vmx::service {

class HttpServer {
 public:
  HttpServer(boost::asio::io_context& io, RequestHandler handler, ServiceLog& log);
  // Uses the certificate chain and key for every connection from now on.
  bool UseTls(const std::string& certificate, const std::string& key, std::string& problem);
  // Binds and listens; false with `problem` when it cannot.
  bool Listen(const std::string& host, int port, std::string& problem);
  int Port() const;
  void Stop();
  size_t Connections() const { return *connections_; }
  size_t Streams() const { return *streams_; }

 private:
  void Accept();

  boost::asio::io_context& io_;
  RequestHandler handler_;
  ServiceLog& log_;
  boost::asio::ip::tcp::acceptor acceptor_;
  std::optional<boost::asio::ssl::context> tls_;
  std::shared_ptr<size_t> connections_ = std::make_shared<size_t>(0);
  std::shared_ptr<size_t> streams_ = std::make_shared<size_t>(0);
};

}  // namespace vmx::service
