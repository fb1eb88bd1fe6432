// A real HTTP client for the service's tests, on Beast: one request per
// connection, or a kept-alive connection, and an event-stream reader.
#pragma once

#include <poll.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace vmx::testing {

namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;

struct HttpAnswer {
  int status = 0;  // 0: no answer (the connection was closed or refused)
  std::string body;
  std::map<std::string, std::string> headers;
  std::string Header(const std::string& name) const {
    const auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
  }
};

using Headers = std::vector<std::pair<std::string, std::string>>;

class HttpClient {
 public:
  explicit HttpClient(int port) : port_(port), stream_(io_) {}

  HttpAnswer Send(http::verb method, const std::string& target, const std::string& body = {},
                  const Headers& headers = {}) {
    HttpAnswer answer;
    beast::error_code ec;
    if (!stream_.socket().is_open()) {
      stream_.expires_after(std::chrono::seconds(30));
      stream_.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"),
                                    static_cast<unsigned short>(port_)),
                      ec);
      if (ec) return answer;
    }
    http::request<http::string_body> request(method, target, 11);
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port_));
    for (const auto& [name, value] : headers) request.set(name, value);
    request.body() = body;
    if (!body.empty()) request.set(http::field::content_type, "application/json");
    request.prepare_payload();
    stream_.expires_after(std::chrono::seconds(30));
    http::write(stream_, request, ec);
    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(16 * 1024 * 1024);
    if (!ec) http::read(stream_, buffer, parser, ec);
    if (ec) {
      stream_.close();
      return answer;
    }
    const auto& response = parser.get();
    answer.status = static_cast<int>(response.result_int());
    answer.body = response.body();
    for (const auto& field : response)
      answer.headers[std::string(field.name_string())] = std::string(field.value());
    if (!response.keep_alive()) stream_.close();
    return answer;
  }

 private:
  int port_;
  boost::asio::io_context io_;
  beast::tcp_stream stream_;
};

// An open event stream: "event:"/"data:" blocks as they arrive.
class EventReader {
 public:
  struct Event {
    std::string name, data;
  };
  EventReader(int port, const Headers& headers) : stream_(io_) {
    beast::error_code ec;
    stream_.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"),
                                  static_cast<unsigned short>(port)),
                    ec);
    http::request<http::empty_body> request(http::verb::get, "/api/v1/events", 11);
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
    for (const auto& [name, value] : headers) request.set(name, value);
    if (!ec) http::write(stream_, request, ec);
    http::response_parser<http::empty_body> parser;
    parser.skip(true);
    if (!ec) http::read_header(stream_, buffer_, parser, ec);
    status_ = ec ? 0 : static_cast<int>(parser.get().result_int());
    // What came after the header belongs to the stream.
    pending_ = beast::buffers_to_string(buffer_.data());
  }
  int Status() const { return status_; }
  int Handle() { return stream_.socket().native_handle(); }

  // The next event that `accept` takes, within `timeout`.
  template <class Accept>
  std::optional<Event> Next(Accept accept, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      for (size_t end; (end = pending_.find("\n\n")) != std::string::npos;) {
        const std::string block = pending_.substr(0, end);
        pending_.erase(0, end + 2);
        Event event;
        size_t at = 0;
        while (at < block.size()) {
          const size_t line_end = std::min(block.find('\n', at), block.size());
          const std::string line = block.substr(at, line_end - at);
          if (line.starts_with("event: ")) event.name = line.substr(7);
          if (line.starts_with("data: ")) event.data = line.substr(6);
          at = line_end + 1;
        }
        if (!event.name.empty() && accept(event)) return event;
      }
      const auto left = deadline - std::chrono::steady_clock::now();
      if (left <= std::chrono::milliseconds(0)) return std::nullopt;
      // Beast's own time limits hold for asynchronous reads only.
      pollfd ready{stream_.socket().native_handle(), POLLIN, 0};
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
      if (poll(&ready, 1, static_cast<int>(ms) + 1) <= 0) return std::nullopt;
      char chunk[4096];
      beast::error_code ec;
      const size_t n = stream_.read_some(boost::asio::buffer(chunk), ec);
      if (ec) return std::nullopt;
      pending_.append(chunk, n);
    }
  }

 private:
  boost::asio::io_context io_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::string pending_;
  int status_ = 0;
};

}  // namespace vmx::testing
