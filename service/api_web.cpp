// What the browser interface needs beyond the other routes: its own files
// (compiled in, so the service stays one file), a board's log, and the
// schedule edits of the grid that move a line or copy a channel's column.
#include "cli/board_routines.h"
#include "cli/schedule_text.h"
#include "link/port_name.h"
#include "service/service_api.h"

namespace vmx::embedded {
extern const std::string_view web_index_html, web_index_html_gz, web_app_js, web_app_js_gz,
    web_app_css, web_app_css_gz;
}

namespace vmx::service {
namespace {

struct WebFile {
  const char* path;
  const char* type;
  const std::string_view* plain;
  const std::string_view* gzipped;
};

const WebFile kWebFiles[] = {
    {"/", "text/html; charset=utf-8", &embedded::web_index_html, &embedded::web_index_html_gz},
    {"/app.js", "text/javascript; charset=utf-8", &embedded::web_app_js, &embedded::web_app_js_gz},
    {"/app.css", "text/css; charset=utf-8", &embedded::web_app_css, &embedded::web_app_css_gz},
};

// Whether the request's Accept-Encoding names gzip with a weight above zero.
bool TakesGzip(const HttpRequest& request) {
  const auto it = request.find(http::field::accept_encoding);
  if (it == request.end()) return false;
  std::string_view rest = View(it->value());
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    const size_t semi = item.find(';');
    std::string_view name = item.substr(0, semi);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name != "gzip" && name != "*") continue;
    if (semi == std::string_view::npos) return true;
    const std::string_view weight = item.substr(semi + 1);
    const size_t q = weight.find("q=");
    return q == std::string_view::npos || std::strtod(std::string(weight.substr(q + 2)).c_str(), nullptr) > 0;
  }
  return false;
}

HttpReply FileReply(const WebFile& file, bool gzip) {
  HttpReply reply;
  reply.body = std::string(gzip ? *file.gzipped : *file.plain);
  reply.contentType = file.type;
  if (gzip) reply.headers.emplace_back("Content-Encoding", "gzip");
  reply.headers.emplace_back("Vary", "Accept-Encoding");
  reply.headers.emplace_back("Cache-Control", "no-cache");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  // Only our own files run in the page, and no other site may frame it.
  reply.headers.emplace_back("Content-Security-Policy",
                             "default-src 'self'; img-src 'self' data:; object-src 'none'; "
                             "base-uri 'none'; form-action 'self'; frame-ancestors 'none'");
  reply.headers.emplace_back("Referrer-Policy", "no-referrer");
  return reply;
}

}  // namespace

void ServiceApi::AddWebRoutes() {
  using http::verb;
  for (const WebFile& file : kWebFiles)
    router_.Add(verb::get, file.path, [&file](const Call& call, Respond respond) {
      respond(FileReply(file, TakesGzip(call.Request())));
    }, true);

  router_.Add(verb::get, "/api/v1/boards/{id}/log", [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (board) respond(JsonReply(200, board->Messages().Entries()));
  });

  // {"from": 2, "to": 5}: the line moved as the grid's drag moves it.
  router_.Add(verb::post, "/api/v1/boards/{id}/schedule/move", [this](const Call& call,
                                                                    Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const std::optional<Json> body = Body(call, respond);
    if (!body || !Writable(call, *board, respond)) return;
    const size_t rows = board->Take().rows;
    std::string line[2];
    for (int i = 0; i < 2; ++i) {
      const char* name = i ? "to" : "from";
      const auto it = body->find(name);
      if (it == body->end() || !it->is_number_unsigned() || it->get<uint64_t>() >= rows)
        return Refuse(call, respond, 400, std::string(name) + " is a line of the schedule", name);
      line[i] = std::to_string(it->get<uint64_t>());
    }
    ScheduleEditJob(*board, call, std::move(respond), {cli::ScheduleEdit::Move, line[0], line[1]});
  });

  // {"from": "C", "to": "F"}: a channel's column pasted onto another, or the two swapped.
  for (const auto& route : {std::pair{"paste", cli::ScheduleEdit::Paste},
                             std::pair{"swap", cli::ScheduleEdit::Swap}}) {
    const cli::ScheduleEdit::Kind kind = route.second;
    router_.Add(verb::post, std::string("/api/v1/boards/{id}/schedule/") + route.first,
                [this, kind](const Call& call, Respond respond) {
      ServiceBoard* board = BoardOf(call, respond);
      if (!board) return;
      const std::optional<Json> body = Body(call, respond);
      if (!body || !Writable(call, *board, respond)) return;
      std::string channel[2];
      for (int i = 0; i < 2; ++i) {
        const char* name = i ? "to" : "from";
        const auto it = body->find(name);
        const std::string letter = it != body->end() && it->is_string() ? it->get<std::string>() : "";
        if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'L')
          return Refuse(call, respond, 400, std::string(name) + " is a channel letter A to L", name);
        channel[i] = letter;
      }
      if (channel[0] == channel[1])
        return Refuse(call, respond, 400, "from and to are the same channel", "to");
      ScheduleEditJob(*board, call, std::move(respond), {kind, channel[0], channel[1]});
    });
  }
}

void ServiceApi::ScheduleEditJob(ServiceBoard& board, const Call& call, Respond respond,
                                 cli::ScheduleEdit edit) {
  OnBoard(board, call, std::move(respond), [edit](cli::BoardSession& session) {
    if (auto trouble = Trouble(cli::EditSchedule(session, edit), session)) return *trouble;
    Json schedule;
    session.OnUi([&] { schedule = cli::ScheduleValue(session.Store()); });
    return JsonReply(200, schedule);
  });
}

}  // namespace vmx::service
