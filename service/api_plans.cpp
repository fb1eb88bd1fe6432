// The routes of a board's acclimation plan: shown, made (today's step written
// at once) and cancelled (the full schedule written back), through the
// routines of `velmarinex-cli acclimate`. The plan is kept in the service's
// data folder; the service applies it at each connection and once a day.
#include "cli/plan_routines.h"
#include "planning/plan_file.h"
#include "service/service_api.h"

namespace vmx::service {
namespace {

std::optional<int> WholeNumber(const Json& body, const char* name) {
  const auto it = body.find(name);
  if (it == body.end() || !it->is_number_integer()) return std::nullopt;
  const int64_t value = it->get<int64_t>();
  if (value < -100000 || value > 100000) return std::nullopt;
  return static_cast<int>(value);
}

struct Refusal {
  std::string reason, key;
};

// {"start": 50, "days": 21, "channels": "A-F", "from": "2024-06-21"}.
std::variant<PlanSettings, Refusal> SettingsOf(const Json& body) {
  PlanSettings settings;
  const std::optional<int> start = WholeNumber(body, "start");
  if (!start || *start < 0 || *start > 100)
    return Refusal{"start is a whole percent from 0 to 100", "start"};
  const std::optional<int> days = WholeNumber(body, "days");
  if (!days || *days < 1 || *days > 365) return Refusal{"days is a whole number from 1 to 365", "days"};
  settings.startPercent = *start;
  settings.days = *days;
  if (const auto channels = body.find("channels"); channels != body.end()) {
    const std::optional<uint16_t> set =
        channels->is_string() ? ParseChannelSet(channels->get<std::string>()) : std::nullopt;
    if (!set) return Refusal{"channels are letters and ranges such as A-F or all", "channels"};
    settings.channels = *set;
  }
  if (const auto from = body.find("from"); from != body.end()) {
    settings.firstDay = from->is_string() ? ParseDate(from->get<std::string>()) : std::nullopt;
    if (!settings.firstDay) return Refusal{"from is a date such as 2024-06-21", "from"};
  }
  if (!ValidPlanSettings(settings.startPercent, settings.days, settings.channels))
    return Refusal{"no plan with these values", "start"};
  return settings;
}

}  // namespace

HttpReply ServiceApi::PlanReply(const PlanResult& result, const std::string& id,
                                cli::BoardSession& session) {
  if (!result.log.empty()) result.alert ? log_.Warning(id + ": " + result.log) : log_.Info(id + ": " + result.log);
  switch (result.kind) {
    case PlanResult::Kind::Failed:
      return JsonReply(session.Connected() ? 502 : 503, Json::object({{"error", result.problem}}));
    case PlanResult::Kind::NoPlan:
      return JsonReply(404, Json::object({{"error", "no acclimation plan"}}));
    default:
      return JsonReply(200, cli::PlanValue(result, id));
  }
}

void ServiceApi::AdoptEdit(const PlanHome& home, cli::BoardSession& session) {
  const std::string error = cli::AdoptScheduleEditOn(session, home);
  if (!error.empty()) log_.Warning(home.boardId + ": acclimation plan: " + error);
}

void ServiceApi::AddPlanRoutes() {
  using http::verb;
  const std::string path = "/api/v1/boards/{id}/acclimation";
  router_.Add(verb::get, path, [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const PlanResult status = PlanStatus(board->Plans(), ComputerCalendar());
    if (status.kind == PlanResult::Kind::Failed) return Refuse(call, respond, 409, status.problem);
    respond(JsonReply(200, cli::PlanValue(status, board->Id())));
  });

  router_.Add(verb::put, path, [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const std::optional<Json> body = Body(call, respond);
    if (!body) return;
    auto settings = SettingsOf(*body);
    if (const Refusal* refusal = std::get_if<Refusal>(&settings))
      return Refuse(call, respond, 400, refusal->reason, refusal->key);
    if (!Writable(call, *board, respond)) return;
    OnBoard(*board, call, std::move(respond),
            [this, home = board->Plans(), settings = std::get<PlanSettings>(settings)](
                cli::BoardSession& session) {
              cli::SessionPlanBoard plan(session);
              return PlanReply(StartPlan(home, plan, ComputerCalendar(), settings), home.boardId,
                               session);
            });
  });

  router_.Add(verb::delete_, path, [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const PlanLoad stored = LoadPlan(board->Plans().root, board->Id());
    if (!stored.error.empty()) return Refuse(call, respond, 409, stored.error);
    if (!stored.plan) return Refuse(call, respond, 404, "no acclimation plan");
    if (!Writable(call, *board, respond)) return;
    OnBoard(*board, call, std::move(respond), [this, home = board->Plans()](cli::BoardSession& session) {
      cli::SessionPlanBoard plan(session);
      return PlanReply(CancelPlan(home, plan, ComputerCalendar()), home.boardId, session);
    });
  });
}

}  // namespace vmx::service
