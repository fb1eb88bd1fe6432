// The one event stream for all boards: every open client gets each event as
// "event: NAME" and "data: JSON" lines. Boards report on their workers'
// threads; the events go out from the I/O thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include "service/http_types.h"
#include "service/service_board.h"

namespace vmx::service {

class EventHub final : public BoardEvents {
 public:
  // `summary` gives a board's summary by id on the I/O thread (null once it is gone).
  EventHub(boost::asio::io_context& io, std::function<Json(const std::string&)> summary);

  // On the I/O thread.
  void Attach(std::shared_ptr<EventClient> client);
  void Publish(const std::string& name, const std::string& data);
  size_t Clients() const { return clients_.size(); }
  // Board changes the hub itself sees (added, removed), on the I/O thread.
  void Board(const std::string& id, const std::string& change, Json summary);

  // BoardEvents, on any thread.
  void BoardChanged(const std::string& id, const std::string& change) override;
  void StatusChanged(const std::string& id, std::shared_ptr<const std::string> status) override;
  void SettingsChanged(const std::string& id, std::shared_ptr<const std::string> settings,
                       std::shared_ptr<const std::string> schedule) override;

 private:
  void Ping();

  boost::asio::io_context& io_;
  std::function<Json(const std::string&)> summary_;
  std::vector<std::weak_ptr<EventClient>> clients_;
  boost::asio::steady_timer ping_;
};

}  // namespace vmx::service
