// The routes that change a board. Each request is parsed and validated
// completely on the I/O thread; only then does its job reach the board, on the
// board's job thread, through the same routine as the command line's.
#include <algorithm>
#include <cstdlib>

#include "cli/board_routines.h"
#include "cli/json_writer.h"
#include "cli/schedule_text.h"
#include "cli/settings_json.h"
#include "link/port_name.h"
#include "persist/settings_file.h"
#include "service/board_status_json.h"
#include "service/service_api.h"
#include "settings/bindings.h"
#include "settings/settings_key_table.h"

namespace vmx::service {

// The reply to a routine's outcome: the request did not fit the board (400),
// the link is down (503), or the board did not do it (502).
std::optional<HttpReply> Trouble(const cli::BoardOutcome& outcome, cli::BoardSession& session) {
  if (outcome.Ok()) return std::nullopt;
  const unsigned status = outcome.kind == cli::BoardOutcome::Refused ? 400
                          : session.Connected()                      ? 502
                                                                     : 503;
  return JsonReply(status, Json::object({{"error", outcome.problem}}));
}

namespace {

// "0".."65535" only: no sign, no blanks, no leading zero.
std::optional<size_t> Number(const std::string& text) {
  if (text.empty() || text.size() > 5 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  for (const char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  return static_cast<size_t>(std::atol(text.c_str()));
}

struct Refusal {
  std::string reason, key;
};

// {"Config": {"FanLow": 76}, "3": {"Hour": 9}} into assignments, or why not.
std::variant<std::vector<SettingsAssignment>, Refusal> Assignments(const Json& body, size_t rows) {
  std::vector<SettingsAssignment> out;
  for (const auto& [section, keys] : body.items()) {
    const std::optional<size_t> row = Number(section);
    if (row && *row >= rows)
      return Refusal{"the board has " + std::to_string(rows) + " schedule rows, no row " + section,
                     section};
    if (!keys.is_object() || keys.empty())
      return Refusal{"a section takes an object of keys and values", section};
    for (const auto& [name, value] : keys.items()) {
      const SettingsKeyInfo* info = FindSettingsKeyInfo(row ? "Row" : section, name);
      if (!info) {
        const bool known = row || KnownSettingsSection(section);
        return known ? Refusal{"no key " + ShortForMessage(name, 40) + " in " + section, name}
                     : Refusal{"no section " + ShortForMessage(section, 40), section};
      }
      if (!value.is_number_integer())
        return Refusal{info->key->Name() + " takes a whole number", name};
      const int64_t number = value.get<int64_t>();
      if (const auto problem = KeyRangeProblem(*info, number)) return Refusal{*problem, name};
      SettingsAssignment a;
      a.key = info->key;
      a.row = row;
      a.value = number;
      out.push_back(a);
    }
  }
  if (out.empty()) return Refusal{"nothing to set", ""};
  return out;
}

}  // namespace

void ServiceApi::AddWriteRoutes() {
  using http::verb;
  router_.Add(
      verb::patch, "/api/v1/boards/{id}/settings", [this](const Call& call, Respond respond) {
        ServiceBoard* board = BoardOf(call, respond);
        if (!board) return;
        const std::optional<Json> body = Body(call, respond);
        if (!body || !Writable(call, *board, respond)) return;
        auto parsed = Assignments(*body, board->Take().rows);
        if (const Refusal* refusal = std::get_if<Refusal>(&parsed))
          return Refuse(call, respond, 400, refusal->reason, refusal->key);
        OnBoard(*board, call, std::move(respond),
                [this, home = board->Plans(),
                 assignments = std::get<0>(std::move(parsed))](cli::BoardSession& session) {
                  if (auto trouble = Trouble(cli::WriteSettings(session, assignments), session))
                    return *trouble;
                  if (WritesSchedule(assignments)) AdoptEdit(home, session);
                  SettingsRecords records;
                  session.OnUi([&] { records = TakeSettings(session.Store()); });
                  return JsonReply(200, cli::SettingsValue(records));
                });
      });

  router_.Add(
      verb::put, "/api/v1/boards/{id}/schedule/{line}", [this](const Call& call, Respond respond) {
        ServiceBoard* board = BoardOf(call, respond);
        if (!board) return;
        const std::optional<Json> body = Body(call, respond);
        if (!body || !Writable(call, *board, respond)) return;
        const std::optional<size_t> line = Number(call.Param("line"));
        if (!line || *line >= board->Take().rows)
          return Refuse(call, respond, 400,
                        "no schedule line " + ShortForMessage(call.Param("line"), 20), "line");
        cli::ScheduleEdit edit{cli::ScheduleEdit::Set, std::to_string(*line), {}};
        const auto cells = body->find("cells");
        if (cells != body->end() && cells->is_string()) {
          edit.second = cells->get<std::string>();
        } else if (cells != body->end() && cells->is_array()) {
          for (const Json& cell : *cells) {
            if (!cell.is_string()) return Refuse(call, respond, 400, "a cell is a string", "cells");
            edit.second += (edit.second.empty() ? "" : " ") + cell.get<std::string>();
          }
        } else {
          return Refuse(call, respond, 400, "cells are a string or a list of strings", "cells");
        }
        if (edit.second.find_first_of("\r\n") != std::string::npos)
          return Refuse(call, respond, 400, "cells are one line", "cells");
        ScheduleEditJob(*board, call, std::move(respond), edit);
      });

  router_.Add(verb::post, "/api/v1/boards/{id}/mode", [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const std::optional<Json> body = Body(call, respond);
    if (!body || !Writable(call, *board, respond)) return;
    const auto word = body->find("mode");
    const auto mode = word != body->end() && word->is_string()
                          ? ModeOfWord(word->get<std::string>())
                          : std::nullopt;
    if (!mode) return Refuse(call, respond, 400, "mode is manual, auto, geo, rgb or flash", "mode");
    OnBoard(*board, call, std::move(respond), [mode = *mode](cli::BoardSession& session) {
      if (auto trouble = Trouble(cli::ChangeMode(session, mode), session)) return *trouble;
      return JsonReply(200, Json::object({{"mode", ModeValue(mode)}}));
    });
  });

  router_.Add(verb::post, "/api/v1/boards/{id}/actions/{action}",
              [this](const Call& call, Respond respond) {
                ServiceBoard* board = BoardOf(call, respond);
                if (!board) return;
                const cli::BoardAction* action = cli::BoardActionNamed(call.Param("action"));
                if (!action) return Refuse(call, respond, 404, "no such action");
                if (!Writable(call, *board, respond)) return;
                OnBoard(*board, call, std::move(respond), [action](cli::BoardSession& session) {
                  if (auto trouble = Trouble(cli::RunBoardAction(session, *action), session))
                    return *trouble;
                  Json done = Json::object({{"action", action->name}});
                  if (action->name == "health") {
                    Health health;
                    session.OnUi([&] { health = session.Store().health; });
                    done["PowerCycles"] = health.PowerCycles;
                    done["Counter"] = health.Counter;
                  }
                  return JsonReply(200, done);
                });
              });

  router_.Add(
      verb::post, "/api/v1/boards/{id}/channels", [this](const Call& call, Respond respond) {
        ServiceBoard* board = BoardOf(call, respond);
        if (!board) return;
        const std::optional<Json> body = Body(call, respond);
        if (!body || !Writable(call, *board, respond)) return;
        const auto levels = body->find("levels");
        if (levels == body->end() || !levels->is_object() || levels->empty())
          return Refuse(call, respond, 400, "levels is an object of channels and percents",
                        "levels");
        std::vector<std::pair<int, int64_t>> raw;
        for (const auto& [channel, percent] : levels->items()) {
          const std::optional<size_t> n = Number(channel);
          if (!n || *n >= static_cast<size_t>(kChannels))
            return Refuse(call, respond, 400, "channels are 0 to 11", channel);
          // The typed percent of the channel page, by its own conversion.
          const std::optional<int64_t> level =
              percent.is_number()
                  ? ParseShown(Shown::Percent4096, cli::JsonNumber(percent.get<double>()), 0, ".")
                  : std::nullopt;
          if (!level || *level < 0 || *level > 4096)
            return Refuse(call, respond, 400, "a level is a percentage from 0 to 100", channel);
          raw.emplace_back(static_cast<int>(*n), *level);
        }
        OnBoard(*board, call, std::move(respond), [raw](cli::BoardSession& session) {
          if (auto trouble = Trouble(cli::SetChannels(session, raw), session)) return *trouble;
          return JsonReply(200, Json::object({{"done", true}}));
        });
      });
}

}  // namespace vmx::service
