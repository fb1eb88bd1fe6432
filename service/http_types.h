// What the service's HTTP layer hands to its routes and takes back from them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <boost/beast/http.hpp>

namespace vmx::service {

namespace http = boost::beast::http;
using HttpRequest = http::request<http::string_body>;

// Beast's string views as the standard's.
inline std::string_view View(boost::beast::string_view text) {
  return {text.data(), text.size()};
}

inline constexpr size_t kMostBodyBytes = 64 * 1024;
// Connections that make requests; event streams are counted apart, so that a
// wall of browsers watching cannot lock out the one that changes something.
inline constexpr size_t kMostConnections = 64;
inline constexpr size_t kMostEventStreams = 256;

// One open event stream; the I/O thread's.
class EventClient {
 public:
  virtual ~EventClient() = default;
  virtual void Send(std::shared_ptr<const std::string> chunk) = 0;
  virtual bool Open() const = 0;
};

struct HttpReply {
  unsigned status = 200;
  std::string body;
  std::string contentType = "application/json";
  std::vector<std::pair<std::string, std::string>> headers;
  // Turns the connection into an event stream once the header is out.
  std::function<void(std::shared_ptr<EventClient>)> stream;
};

// Called once, on the I/O thread.
using Respond = std::function<void(HttpReply)>;

// A request that parsed: what the connection knows of it.
struct Exchange {
  HttpRequest request;
  std::string address;  // the peer's
  bool tls = false;
};

using RequestHandler = std::function<void(Exchange&& exchange, Respond respond)>;

}  // namespace vmx::service
