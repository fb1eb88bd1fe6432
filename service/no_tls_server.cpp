// A build without OpenSSL (the Windows one) serves plain HTTP only, and says
// so where HTTPS is asked for.
#include "lang/catalogue.h"
#include "service/http_server.h"

namespace vmx::service {

struct TlsContext {};

bool TlsInThisBuild() {
  return false;
}

bool HttpServer::UseTls(const std::string&, const std::string&, std::string& problem) {
  problem = LangText("ServiceNoTls");
  return false;
}

void HttpServer::StartTls(boost::asio::ip::tcp::socket socket, const std::string&) {
  boost::system::error_code ignored;
  socket.close(ignored);
}

}  // namespace vmx::service
