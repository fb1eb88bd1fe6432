// One client connection: requests read with Beast's parser (bodies over the
// limit refused with 413), answered in order, idle connections closed; a
// request for the event stream turns it into one. Plain TCP or TLS.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "service/http_types.h"

namespace vmx::service {

namespace beast = boost::beast;
namespace net = boost::asio;

using PlainStream = beast::tcp_stream;
// True for the TLS stream, which the build's HTTPS side declares (a build
// without OpenSSL has none).
template <class Stream>
inline constexpr bool kIsTlsStream = false;

inline constexpr std::chrono::seconds kIdleTimeout{60};
// More queued events than this and the client is not keeping up: it is let go.
inline constexpr size_t kMostQueuedEvents = 512;

// Counts the open connections while it lives.
class ConnectionSlot {
 public:
  explicit ConnectionSlot(std::shared_ptr<size_t> count) : count_(std::move(count)) { ++*count_; }
  ~ConnectionSlot() { --*count_; }
  // Counted among `other` from now on.
  void MoveTo(std::shared_ptr<size_t> other) {
    --*count_;
    count_ = std::move(other);
    ++*count_;
  }
  ConnectionSlot(const ConnectionSlot&) = delete;
  ConnectionSlot& operator=(const ConnectionSlot&) = delete;

 private:
  std::shared_ptr<size_t> count_;
};

template <class Stream>
class HttpConnection final : public std::enable_shared_from_this<HttpConnection<Stream>>,
                             public EventClient {
  static constexpr bool kTls = kIsTlsStream<Stream>;

 public:
  // `count` counts the connections that make requests, `streams` the event streams.
  HttpConnection(Stream stream, const RequestHandler& handler, std::shared_ptr<size_t> count,
                 std::shared_ptr<size_t> streams, std::string address)
      : stream_(std::move(stream)), handler_(handler), slot_(std::move(count)),
        streams_(std::move(streams)), address_(std::move(address)) {}

  void Start() {
    auto self = this->shared_from_this();
    if constexpr (kTls) {
      beast::get_lowest_layer(stream_).expires_after(kIdleTimeout);
      stream_.async_handshake(Stream::server, [self](beast::error_code ec) {
        if (!ec) self->Read();
      });
    } else {
      Read();
    }
  }

  void Send(std::shared_ptr<const std::string> chunk) override {
    if (!streaming_ || closed_) return;
    if (queue_.size() >= kMostQueuedEvents) return Close();
    queue_.push_back(std::move(chunk));
    if (!writing_) WriteNext();
  }
  bool Open() const override { return streaming_ && !closed_; }

 private:
  void Read() {
    parser_.emplace();
    parser_->body_limit(kMostBodyBytes);
    parser_->header_limit(16 * 1024);
    beast::get_lowest_layer(stream_).expires_after(kIdleTimeout);
    auto self = this->shared_from_this();
    http::async_read(stream_, buffer_, *parser_,
                     [self](beast::error_code ec, size_t) { self->OnRead(ec); });
  }

  void OnRead(beast::error_code ec) {
    if (ec == http::error::body_limit) {
      HttpReply reply;
      reply.status = 413;
      reply.body = R"({"error": "the body is larger than 64 KiB"})";
      keepAlive_ = false;
      return Write(std::move(reply), parser_->get().version());
    }
    if (ec) return Close();
    Exchange exchange{parser_->release(), address_, kTls};
    keepAlive_ = exchange.request.keep_alive();
    const unsigned version = exchange.request.version();
    // The answer may come later, from a board's job: until then it holds the connection.
    auto self = this->shared_from_this();
    handler_(std::move(exchange), [self, version](HttpReply reply) {
      self->Write(std::move(reply), version);
    });
  }

  void Write(HttpReply reply, unsigned version) {
    if (closed_) return;
    if (reply.stream) return StartStream(std::move(reply), version);
    auto response = std::make_shared<http::response<http::string_body>>(
        static_cast<http::status>(reply.status), version);
    response->set(http::field::server, "velmarinexd");
    response->set(http::field::content_type, reply.contentType);
    response->set(http::field::cache_control, "no-store");
    for (const auto& [name, value] : reply.headers) response->set(name, value);
    response->body() = std::move(reply.body);
    response->keep_alive(keepAlive_);
    response->prepare_payload();
    beast::get_lowest_layer(stream_).expires_after(kIdleTimeout);
    auto self = this->shared_from_this();
    http::async_write(stream_, *response, [self, response](beast::error_code ec, size_t) {
      if (ec || !response->keep_alive()) return self->Close();
      self->Read();
    });
  }

  void StartStream(HttpReply reply, unsigned version) {
    auto header = std::make_shared<http::response<http::empty_body>>(http::status::ok, version);
    header->set(http::field::server, "velmarinexd");
    header->set(http::field::content_type, "text/event-stream");
    header->set(http::field::cache_control, "no-store");
    header->keep_alive(true);
    auto serializer = std::make_shared<http::response_serializer<http::empty_body>>(*header);
    // The stream stays open as long as the client keeps it.
    beast::get_lowest_layer(stream_).expires_never();
    auto self = this->shared_from_this();
    auto attach = std::move(reply.stream);
    http::async_write_header(stream_, *serializer,
                             [self, header, serializer, attach](beast::error_code ec, size_t) {
                               if (ec) return self->Close();
                               self->streaming_ = true;
                               // A stream makes no requests: it leaves room for those that do.
                               self->slot_.MoveTo(self->streams_);
                               self->WatchForClose();
                               attach(self);
                             });
  }

  // A stream's client says nothing more; reading only tells when it has gone.
  void WatchForClose() {
    auto self = this->shared_from_this();
    stream_.async_read_some(net::buffer(sink_), [self](beast::error_code ec, size_t) {
      if (ec) return self->Close();
      self->WatchForClose();
    });
  }

  void WriteNext() {
    if (queue_.empty() || closed_) {
      writing_ = false;
      return;
    }
    writing_ = true;
    auto self = this->shared_from_this();
    auto chunk = queue_.front();
    net::async_write(stream_, net::buffer(*chunk), [self, chunk](beast::error_code ec, size_t) {
      // A close while this chunk was on its way has emptied the queue already.
      if (ec || self->closed_) return self->Close();
      self->queue_.pop_front();
      self->WriteNext();
    });
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    queue_.clear();
    beast::error_code ignored;
    beast::get_lowest_layer(stream_).socket().shutdown(net::ip::tcp::socket::shutdown_both,
                                                       ignored);
    beast::get_lowest_layer(stream_).close();
  }

  Stream stream_;
  const RequestHandler& handler_;
  ConnectionSlot slot_;
  std::shared_ptr<size_t> streams_;
  std::string address_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  bool keepAlive_ = true;
  bool streaming_ = false, writing_ = false, closed_ = false;
  std::deque<std::shared_ptr<const std::string>> queue_;
  char sink_[512];
};

}  // namespace vmx::service
