#include "service/event_hub.h"

#include <boost/asio/post.hpp>

namespace vmx::service {
namespace {

using namespace std::chrono_literals;

// Proxies close a silent connection; a comment keeps it in use.
constexpr auto kPingEvery = 20s;

}  // namespace

EventHub::EventHub(boost::asio::io_context& io, std::function<Json(const std::string&)> summary)
    : io_(io), summary_(std::move(summary)), ping_(io) {
  Ping();
}

void EventHub::Ping() {
  ping_.expires_after(kPingEvery);
  ping_.async_wait([this](const boost::system::error_code& ec) {
    if (ec) return;
    auto chunk = std::make_shared<const std::string>(": ping\n\n");
    for (const auto& weak : clients_)
      if (auto client = weak.lock()) client->Send(chunk);
    Ping();
  });
}

void EventHub::Attach(std::shared_ptr<EventClient> client) {
  std::erase_if(clients_, [](const auto& weak) {
    auto c = weak.lock();
    return !c || !c->Open();
  });
  // The client hears at once that its stream is open.
  client->Send(std::make_shared<const std::string>(": velmarinexd events\n\n"));
  clients_.push_back(client);
}

void EventHub::Publish(const std::string& name, const std::string& data) {
  auto chunk = std::make_shared<const std::string>("event: " + name + "\ndata: " + data + "\n\n");
  bool gone = false;
  for (const auto& weak : clients_) {
    auto client = weak.lock();
    if (client && client->Open())
      client->Send(chunk);
    else
      gone = true;
  }
  if (gone)
    std::erase_if(clients_, [](const auto& weak) {
      auto c = weak.lock();
      return !c || !c->Open();
    });
}

void EventHub::Board(const std::string& id, const std::string& change, Json summary) {
  if (summary.is_null()) summary = Json::object({{"id", id}});
  summary["change"] = change;
  Publish("board", summary.dump());
}

void EventHub::BoardChanged(const std::string& id, const std::string& change) {
  boost::asio::post(io_, [this, id, change] { Board(id, change, summary_(id)); });
}

void EventHub::StatusChanged(const std::string&, std::shared_ptr<const std::string> status) {
  boost::asio::post(io_, [this, status] { Publish("status", *status); });
}

void EventHub::SettingsChanged(const std::string& id, std::shared_ptr<const std::string> settings,
                               std::shared_ptr<const std::string> schedule) {
  boost::asio::post(io_, [this, id, settings, schedule] {
    // Both texts are JSON already; only the envelope is new.
    Publish("settings", "{\"id\":" + Json(id).dump() + ",\"settings\":" + *settings +
                            ",\"schedule\":" + *schedule + "}");
  });
}

}  // namespace vmx::service
