#include "service/http_server.h"

#include "service/http_connection.h"

namespace vmx::service {

using tcp = net::ip::tcp;

HttpServer::HttpServer(net::io_context& io, RequestHandler handler, ServiceLog& log)
    : io_(io), handler_(std::move(handler)), log_(log), acceptor_(io) {}

bool HttpServer::Listen(const std::string& host, int port, std::string& problem) {
  beast::error_code ec;
  const std::string name = host == "localhost" ? "127.0.0.1" : host;
  const auto address = net::ip::make_address(name, ec);
  if (ec) {
    problem = "no address to listen on: " + host;
    return false;
  }
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  acceptor_.open(endpoint.protocol(), ec);
  if (!ec) acceptor_.set_option(net::socket_base::reuse_address(true), ec);
  if (!ec) acceptor_.bind(endpoint, ec);
  if (!ec) acceptor_.listen(net::socket_base::max_listen_connections, ec);
  if (ec) {
    problem = "cannot listen on " + host + ":" + std::to_string(port) + ": " + ec.message();
    return false;
  }
  Accept();
  return true;
}

int HttpServer::Port() const {
  beast::error_code ec;
  return acceptor_.local_endpoint(ec).port();
}

void HttpServer::Stop() {
  beast::error_code ignored;
  acceptor_.close(ignored);
}

void HttpServer::Accept() {
  acceptor_.async_accept(io_, [this](beast::error_code ec, tcp::socket socket) {
    if (ec == net::error::operation_aborted) return;
    if (!ec) {
      beast::error_code ignored;
      const std::string address = socket.remote_endpoint(ignored).address().to_string();
      if (*connections_ >= kMostConnections) {
        log_.Warning("refused " + address + ": more than " + std::to_string(kMostConnections) +
                     " connections");
        socket.close(ignored);
      } else if (tls_) {
        StartTls(std::move(socket), address);
      } else {
        std::make_shared<HttpConnection<PlainStream>>(PlainStream(std::move(socket)), handler_,
                                                      connections_, streams_, address)
            ->Start();
      }
    }
    Accept();
  });
}

}  // namespace vmx::service
