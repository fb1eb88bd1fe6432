// The routes of a board's settings history: its snapshots, the differences
// between two settings sets, part of a set put back, and undo. As with the
// other writes, a request is parsed and validated completely on the I/O
// thread, snapshots and uploads included; only then does its job reach the
// board, through the routines of `velmarinex-cli settings`.
#include <string_view>

#include "cli/history_routines.h"
#include "link/port_name.h"
#include "link/record_requests.h"
#include "persist/settings_file.h"
#include "service/service_api.h"

namespace vmx::service {
namespace {

// A settings set as a request names it: "board", "file" (the request's
// upload), "snapshot:N" or "snapshot:latest". Never a path on this computer.
struct SetName {
  enum Kind { Board, File, Snapshot } kind = Board;
  std::string which;  // a snapshot's "N" or "latest"
};

std::optional<SetName> ParseSetName(std::string_view word) {
  if (word == "board") return SetName{SetName::Board, {}};
  if (word == "file") return SetName{SetName::File, {}};
  constexpr std::string_view kSnapshot = "snapshot:";
  if (!word.starts_with(kSnapshot)) return std::nullopt;
  const std::string_view which = word.substr(kSnapshot.size());
  const bool number = !which.empty() && which.size() <= 9 &&
                      which.find_first_not_of("0123456789") == std::string_view::npos;
  if (which != "latest" && !number) return std::nullopt;
  return SetName{SetName::Snapshot, std::string(which)};
}

struct Problem {
  unsigned status = 400;
  std::string reason, key;
};

// A snapshot's settings, checked against its header; why not for one the
// history lacks (404) or that is damaged (409).
std::variant<IniDocument, Problem> SnapshotOf(const SettingsHistory& history,
                                              const std::string& which, const std::string& key) {
  const std::optional<SnapshotEntry> entry = PickSnapshot(history.List(), which);
  if (!entry) return Problem{404, "no snapshot " + which, key};
  LoadedSnapshot loaded = history.Load(*entry);
  if (!loaded.doc) return Problem{409, "snapshot " + which + ": " + loaded.error, key};
  return std::move(*loaded.doc);
}

// The uploaded settings file of a request.
std::variant<IniDocument, Problem> UploadOf(const std::string& text, const std::string& key) {
  if (text.empty()) return Problem{400, "the settings file is empty", key};
  SettingsText file = SettingsOfText(text, "the upload");
  if (!file.doc) return Problem{400, file.error, key};
  return std::move(*file.doc);
}

// "only": ["config", "lines=3-7", "Config.FanLow"], the command line's
// --only words; missing: everything.
std::variant<RestoreSelection, Problem> SelectionOf(const Json& body) {
  const auto only = body.find("only");
  if (only == body.end() || only->is_null()) return RestoreSelection{};
  if (!only->is_array()) return Problem{400, "only is a list of words", "only"};
  std::string words;
  for (const Json& word : *only) {
    if (!word.is_string() || word.get<std::string>().empty() ||
        word.get<std::string>().find(',') != std::string::npos)
      return Problem{400, "each word of only is one word, such as config or lines=3-7", "only"};
    words += (words.empty() ? "" : ",") + word.get<std::string>();
  }
  std::string error;
  std::optional<RestoreSelection> selection = ParseRestoreSelection(words, error);
  if (!selection) return Problem{400, error, "only"};
  return std::move(*selection);
}

HttpReply Restored(const cli::RestoreReport& report) {
  return JsonReply(200, Json{{"changed", report.plan.assignments.size()},
                             {"chosen", report.plan.chosen},
                             {"left_out", report.plan.beyondRows}});
}

}  // namespace

void ServiceApi::AddHistoryRoutes() {
  using http::verb;
  router_.Add(verb::get, "/api/v1/boards/{id}/history", [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    respond(JsonReply(200, cli::HistoryValue(board->History(), false)));
  });

  // GET compares sets the service holds; POST also the settings file in its body.
  auto diff = [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const std::optional<Language> language = LanguageOf(call, respond);
    if (!language) return;
    // Captions and shown values in the keeper's language, whatever the service speaks.
    const std::shared_ptr<const LanguageTable> words = TableOf(*language);
    const bool upload = call.Request().method() == verb::post;
    std::optional<cli::SettingsSide> sides[2];
    bool wantsBoard = false;
    for (int i = 0; i < 2; ++i) {
      const std::string key = i == 0 ? "a" : "b";
      const auto word = call.query.find(key);
      const std::optional<SetName> name =
          word == call.query.end() ? std::nullopt : ParseSetName(word->second);
      if (!name)
        return Refuse(call, respond, 400, key + " is board, file, snapshot:N or snapshot:latest",
                      key);
      std::variant<IniDocument, Problem> set = Problem{};
      switch (name->kind) {
        case SetName::Board:
          wantsBoard = true;
          continue;
        case SetName::File:
          if (!upload)
            return Refuse(call, respond, 400, "a settings file comes in the body of a POST", key);
          set = UploadOf(call.Request().body(), key);
          break;
        case SetName::Snapshot:
          set = SnapshotOf(board->History(), name->which, key);
          break;
      }
      if (const Problem* p = std::get_if<Problem>(&set))
        return Refuse(call, respond, p->status, p->reason, p->key);
      const IniDocument& doc = std::get<IniDocument>(set);
      sides[i] = name->kind == SetName::File ? cli::SideOfFile(doc) : cli::SideOfSnapshot(doc);
    }
    if (!wantsBoard) {
      const LanguageScope speaking(words);
      return respond(JsonReply(200, cli::DiffValue(cli::CompareSides(*sides[0], *sides[1]).diff)));
    }
    if (!Writable(call, *board, respond)) return;
    OnBoard(*board, call, std::move(respond), [sides, words](cli::BoardSession& session) {
      const LanguageScope speaking(words);
      const cli::SettingsSide held = cli::SideOfBoard(session);
      return JsonReply(
          200,
          cli::DiffValue(
              cli::CompareSides(sides[0] ? *sides[0] : held, sides[1] ? *sides[1] : held).diff));
    });
  };
  router_.Add(verb::get, "/api/v1/boards/{id}/diff", diff);
  router_.Add(verb::post, "/api/v1/boards/{id}/diff", diff);

  router_.Add(verb::post, "/api/v1/boards/{id}/restore", [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    const std::optional<Json> body = Body(call, respond);
    if (!body) return;
    const auto word = body->find("source");
    const std::optional<SetName> name = word != body->end() && word->is_string()
                                            ? ParseSetName(word->get<std::string>())
                                            : std::nullopt;
    if (!name || name->kind == SetName::Board)
      return Refuse(call, respond, 400, "source is file, snapshot:N or snapshot:latest", "source");
    std::variant<IniDocument, Problem> source = Problem{};
    if (name->kind == SetName::Snapshot) {
      source = SnapshotOf(board->History(), name->which, "source");
    } else {
      const auto file = body->find("file");
      if (file == body->end() || !file->is_string())
        return Refuse(call, respond, 400, "file holds the settings file's text", "file");
      source = UploadOf(file->get<std::string>(), "file");
    }
    if (const Problem* p = std::get_if<Problem>(&source))
      return Refuse(call, respond, p->status, p->reason, p->key);
    std::variant<RestoreSelection, Problem> selection = SelectionOf(*body);
    if (const Problem* p = std::get_if<Problem>(&selection))
      return Refuse(call, respond, p->status, p->reason, p->key);
    if (!Writable(call, *board, respond)) return;
    OnBoard(
        *board, call, std::move(respond),
        [this, home = board->Plans(), doc = std::get<IniDocument>(std::move(source)),
         chosen = std::get<RestoreSelection>(std::move(selection))](cli::BoardSession& session) {
          const cli::RestoreReport report =
              cli::RestoreOnBoard(session, doc, chosen, SnapshotReason::BeforeRestore);
          if (auto trouble = Trouble(report.outcome, session)) return *trouble;
          if (report.bits & request::WriteSchedule) AdoptEdit(home, session);
          return Restored(report);
        });
  });

  router_.Add(verb::post, "/api/v1/boards/{id}/undo", [this](const Call& call, Respond respond) {
    ServiceBoard* board = BoardOf(call, respond);
    if (!board) return;
    std::string problem;
    std::optional<IniDocument> source = cli::UndoSource(board->History(), problem);
    if (!source) return Refuse(call, respond, 409, problem);
    if (!Writable(call, *board, respond)) return;
    OnBoard(*board, call, std::move(respond),
            [this, home = board->Plans(), doc = std::move(*source)](cli::BoardSession& session) {
              const cli::RestoreReport report =
                  cli::RestoreOnBoard(session, doc, RestoreSelection{}, SnapshotReason::BeforeUndo);
              if (auto trouble = Trouble(report.outcome, session)) return *trouble;
              if (report.bits & request::WriteSchedule) AdoptEdit(home, session);
              return Restored(report);
            });
  });
}

}  // namespace vmx::service
