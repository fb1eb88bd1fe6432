#include "service/service_api.h"

#include <boost/asio/post.hpp>

#include "lang/catalogue.h"
#include "link/port_name.h"
#include "settings/settings_key_table.h"

namespace vmx::embedded {
extern const std::string_view openapi_json;
}

namespace vmx::service {
namespace {

using Clock = std::chrono::steady_clock;

std::string Method(const Call& call) {
  return std::string(View(call.Request().method_string()));
}

std::string_view Header(const HttpRequest& request, http::field field) {
  const auto it = request.find(field);
  return it == request.end() ? std::string_view() : View(it->value());
}

std::string TextsJson(const LanguageTable& table) {
  Json all = Json::object();
  for (const LanguageTable::Section& section : table.Sections()) {
    Json entries = Json::object();
    for (const LanguageTable::Entry& entry : section.entries) entries[entry.key] = entry.value;
    all[section.name] = std::move(entries);
  }
  return all.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string KeysJson() {
  Json keys = Json::array();
  for (const SettingsKeyInfo& info : SettingsKeyTable()) {
    Json key = Json::object();
    key["section"] = info.section;
    key["key"] = info.key->Name();
    key["type"] = info.type;
    key["min"] = info.minimum;
    key["max"] = info.maximum;
    key["step"] = info.step;
    key["slider"] = info.sliderMinimum ? Json::array({*info.sliderMinimum, *info.sliderMaximum})
                                       : Json(nullptr);
    key["shown"] = info.shown;
    key["caption"] = info.caption.empty() ? Json(nullptr) : Json(info.caption);
    keys.push_back(std::move(key));
  }
  return keys.dump();
}

}  // namespace

HttpReply JsonReply(unsigned status, const Json& value) {
  return TextReply(status, value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

HttpReply TextReply(unsigned status, std::string json) {
  HttpReply reply;
  reply.status = status;
  reply.body = std::move(json);
  return reply;
}

ServiceApi::ServiceApi(boost::asio::io_context& io, BoardHub& boards, EventHub& events,
                       Access& access, ServiceLog& log)
    : io_(io), boards_(boards), events_(events), access_(access), log_(log) {
  for (const Language language : {Language::English, Language::German}) {
    const size_t i = static_cast<size_t>(language);
    tables_[i] =
        std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(language)));
    texts_[i] = TextsJson(*tables_[i]);
  }
  keys_ = KeysJson();
  AddReadRoutes();
  AddAccountRoutes();
  AddWriteRoutes();
  AddWebRoutes();
  AddHistoryRoutes();
  AddPlanRoutes();
}

void ServiceApi::Refuse(const Call& call, const Respond& respond, unsigned status,
                        const std::string& reason, const std::string& key) {
  log_.Warning("refused " + call.exchange.address + " " + Method(call) + " " +
               ShortForMessage(call.path) + ": " + reason + " (" + std::to_string(status) + ")");
  Json error = Json::object({{"error", reason}});
  if (!key.empty()) error["key"] = key;
  respond(JsonReply(status, error));
}

void ServiceApi::Handle(Exchange&& exchange, Respond respond) {
  Call call{exchange, {}, {}, {}};
  SplitTarget(View(exchange.request.target()), call.path, call.query);
  // A page of another site that a rebound DNS name points at us sends its own Host.
  if (!access_.HostAllowed(Header(exchange.request, http::field::host)))
    return Refuse(call, respond, 421, "the Host header is not one of this service's names");
  bool pathKnown = false;
  const Route* route = router_.Match(exchange.request.method(), call, pathKnown);
  if (!route) {
    if (pathKnown) return Refuse(call, respond, 405, "the method is not served on this path");
    return Refuse(call, respond, 404, "no such route");
  }
  if (!route->open) {
    const Access::Caller caller =
        access_.Identify(Header(exchange.request, http::field::authorization),
                         Header(exchange.request, http::field::cookie), Clock::now());
    if (!caller.known) return Refuse(call, respond, 401, "no valid credentials");
    const bool mutating = route->method != http::verb::get && route->method != http::verb::head;
    // A foreign page can make the browser send our cookie, but not this header.
    if (caller.byCookie && mutating && exchange.request["X-Velmarinex"] != "1")
      return Refuse(call, respond, 403, "a request with a cookie must carry X-Velmarinex: 1");
  }
  route->handler(call, std::move(respond));
}

std::optional<Language> ServiceApi::LanguageOf(const Call& call, const Respond& respond) {
  const auto lang = call.query.find("lang");
  const std::string word = lang == call.query.end() ? "en" : lang->second;
  if (word == "en") return Language::English;
  if (word == "de") return Language::German;
  Refuse(call, respond, 400, "lang is en or de", "lang");
  return std::nullopt;
}

ServiceBoard* ServiceApi::BoardOf(const Call& call, const Respond& respond) {
  ServiceBoard* board = boards_.Find(call.Param("id"));
  if (!board) Refuse(call, respond, 404, "no board " + ShortForMessage(call.Param("id"), 40));
  return board;
}

std::optional<Json> ServiceApi::Body(const Call& call, const Respond& respond) {
  Json body = Json::parse(call.Request().body(), nullptr, false);
  if (body.is_discarded() || !body.is_object()) {
    Refuse(call, respond, 400, "the body is no JSON object");
    return std::nullopt;
  }
  return body;
}

bool ServiceApi::Writable(const Call& call, ServiceBoard& board, const Respond& respond) {
  const ServiceBoard::Snapshot s = board.Take();
  if (!s.connected) {
    Refuse(call, respond, 503, "the board is not connected");
    return false;
  }
  if (!s.complete || !s.settings) {
    Refuse(call, respond, 409, "the board's records are still being read");
    return false;
  }
  return true;
}

void ServiceApi::OnBoard(ServiceBoard& board, const Call& call, Respond respond,
                         std::function<HttpReply(cli::BoardSession&)> job) {
  const std::string what = call.exchange.address + " " + Method(call) + " " + call.path;
  board.Run([this, &board, what, respond = std::move(respond),
             job = std::move(job)](cli::BoardSession* session) {
    HttpReply reply =
        session ? job(*session) : JsonReply(503, Json::object({{"error", "the board went away"}}));
    if (reply.status >= 400) {
      const Json body = Json::parse(reply.body, nullptr, false);
      const std::string failure =
          "failed " + what + ": " +
          (body.is_object() && body.contains("error") ? body["error"].get<std::string>()
                                                      : std::string("?")) +
          " (" + std::to_string(reply.status) + ")";
      log_.Warning(failure);
      board.Messages().Add(failure);
    }
    boost::asio::post(io_,
                      [respond, reply = std::move(reply)]() mutable { respond(std::move(reply)); });
  });
}

void ServiceApi::AddReadRoutes() {
  using http::verb;
  router_.Add(
      verb::get, "/api/v1/health",
      [this](const Call&, Respond respond) {
        size_t connected = 0, boards = 0;
        for (ServiceBoard* board : boards_.Boards()) {
          ++boards;
          connected += board->Take().connected;
        }
        respond(JsonReply(
            200, Json::object({{"status", "ok"}, {"boards", boards}, {"connected", connected}})));
      },
      true);
  router_.Add(
      verb::get, "/api/v1/openapi.json",
      [](const Call&, Respond respond) {
        respond(TextReply(200, std::string(embedded::openapi_json)));
      },
      true);
  router_.Add(
      verb::get, "/api/v1/texts",
      [this](const Call& call, Respond respond) {
        const std::optional<Language> language = LanguageOf(call, respond);
        if (language) respond(TextReply(200, texts_[static_cast<size_t>(*language)]));
      },
      true);  // the sign-in page speaks the keeper's language too
  router_.Add(verb::get, "/api/v1/keys",
              [this](const Call&, Respond respond) { respond(TextReply(200, keys_)); });
  router_.Add(verb::get, "/api/v1/boards", [this](const Call&, Respond respond) {
    Json all = Json::array();
    for (ServiceBoard* board : boards_.Boards()) all.push_back(board->Summary());
    respond(JsonReply(200, all));
  });
  // The snapshots the worker's hand-offs keep: no request waits for a board to read.
  auto snapshot = [this](ServiceBoard::Text ServiceBoard::Snapshot::*text) {
    return [this, text](const Call& call, Respond respond) {
      ServiceBoard* board = BoardOf(call, respond);
      if (!board) return;
      const ServiceBoard::Snapshot s = board->Take();
      if (!s.connected) return Refuse(call, respond, 503, "the board is not connected");
      if (!(s.*text)) return Refuse(call, respond, 409, "the board's records are still being read");
      respond(TextReply(200, *(s.*text)));
    };
  };
  router_.Add(verb::get, "/api/v1/boards/{id}/settings",
              snapshot(&ServiceBoard::Snapshot::settings));
  router_.Add(verb::get, "/api/v1/boards/{id}/schedule",
              snapshot(&ServiceBoard::Snapshot::schedule));
  router_.Add(verb::get, "/api/v1/boards/{id}/status", snapshot(&ServiceBoard::Snapshot::status));
  router_.Add(verb::get, "/api/v1/events", [this](const Call& call, Respond respond) {
    if (events_.Clients() >= kMostEventStreams)
      return Refuse(call, respond, 503, "too many event streams");
    HttpReply reply;
    reply.stream = [this](std::shared_ptr<EventClient> client) { events_.Attach(client); };
    respond(std::move(reply));
  });
}

void ServiceApi::AddAccountRoutes() {
  using http::verb;
  router_.Add(
      verb::post, "/api/v1/login",
      [this](const Call& call, Respond respond) {
        const auto now = Clock::now();
        const std::string& address = call.exchange.address;
        if (access_.Throttled(address, now))
          return Refuse(call, respond, 429,
                        "too many failed logins from this address; wait a minute");
        const std::optional<Json> body = Body(call, respond);
        if (!body) return;
        auto text = [&](const char* name) {
          const auto it = body->find(name);
          return it != body->end() && it->is_string() ? it->get<std::string>() : std::string();
        };
        std::optional<std::string> session;
        std::string user;
        if (body->contains("token")) {
          session = access_.LoginWithToken(address, text("token"), now);
        } else {
          user = text("user");
          session = access_.Login(address, user, text("password"), now);
        }
        if (!session)
          return Refuse(call, respond, 401,
                        user.empty() ? "a wrong token"
                                     : "a wrong user or password for " + ShortForMessage(user, 40));
        log_.Info("login " + address +
                  (user.empty() ? " with the token" : " as " + ShortForMessage(user, 40)));
        HttpReply reply =
            JsonReply(200, Json::object({{"user", user.empty() ? Json(nullptr) : Json(user)}}));
        reply.headers.emplace_back("Set-Cookie", access_.SessionCookie(*session));
        respond(std::move(reply));
      },
      true);
  router_.Add(verb::post, "/api/v1/logout", [this](const Call& call, Respond respond) {
    access_.Logout(Header(call.Request(), http::field::authorization),
                   Header(call.Request(), http::field::cookie));
    HttpReply reply = JsonReply(200, Json::object({{"done", true}}));
    reply.headers.emplace_back("Set-Cookie", access_.ExpiredCookie());
    respond(std::move(reply));
  });
}

}  // namespace vmx::service
