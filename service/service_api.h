// The HTTP API under /api/v1: the checks every request passes (Host header,
// route, credentials, the header that cookie requests must carry), then the
// routes. Runs on the I/O thread; writes wait for their board on its job thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <boost/asio/io_context.hpp>

#include "cli/board_routines.h"
#include "lang/catalogue.h"
#include "service/access.h"
#include "service/board_hub.h"
#include "service/event_hub.h"
#include "service/router.h"
#include "service/service_log.h"

namespace vmx::service {

class ServiceApi {
 public:
  ServiceApi(boost::asio::io_context& io, BoardHub& boards, EventHub& events, Access& access,
             ServiceLog& log);

  void Handle(Exchange&& exchange, Respond respond);
  const Router& Routes() const { return router_; }

 private:
  void AddReadRoutes();
  void AddAccountRoutes();
  void AddWriteRoutes();    // in api_writes.cpp
  void AddWebRoutes();      // in api_web.cpp
  void AddHistoryRoutes();  // in api_history.cpp
  void AddPlanRoutes();     // in api_plans.cpp
  // A schedule written through the service becomes the running plan's target.
  void AdoptEdit(const PlanHome& home, cli::BoardSession& session);
  // The answer to a plan routine's result, its log line logged.
  HttpReply PlanReply(const PlanResult& result, const std::string& id, cli::BoardSession& session);

  // The language a request asks for with ?lang=en|de (English without one);
  // nothing after answering 400 to any other word.
  std::optional<Language> LanguageOf(const Call& call, const Respond& respond);
  const std::shared_ptr<const LanguageTable>& TableOf(Language language) const {
    return tables_[static_cast<size_t>(language)];
  }
  // The board of the route's {id}; nullptr after answering 404.
  ServiceBoard* BoardOf(const Call& call, const Respond& respond);
  // The request's body as JSON; nothing after answering 400.
  std::optional<Json> Body(const Call& call, const Respond& respond);
  // A write's preconditions: the board connected (503) and read (409).
  bool Writable(const Call& call, ServiceBoard& board, const Respond& respond);
  // Runs `job` on the board's job thread and answers with what it returns, on the I/O thread.
  void OnBoard(ServiceBoard& board, const Call& call, Respond respond,
               std::function<HttpReply(cli::BoardSession&)> job);
  // A schedule edit of the grid, answered with the schedule after the read-back.
  void ScheduleEditJob(ServiceBoard& board, const Call& call, Respond respond,
                       cli::ScheduleEdit edit);
  // Answers with an error and logs the refusal (address, method, path, reason).
  void Refuse(const Call& call, const Respond& respond, unsigned status, const std::string& reason,
              const std::string& key = {});

  boost::asio::io_context& io_;
  BoardHub& boards_;
  EventHub& events_;
  Access& access_;
  ServiceLog& log_;
  Router router_;
  std::shared_ptr<const LanguageTable> tables_[2];
  std::string texts_[2], keys_;
};

HttpReply JsonReply(unsigned status, const Json& value);
HttpReply TextReply(unsigned status, std::string json);
// The reply to a board routine that did not succeed; nothing when it did.
std::optional<HttpReply> Trouble(const cli::BoardOutcome& outcome, cli::BoardSession& session);

}  // namespace vmx::service
