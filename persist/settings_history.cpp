#include "persist/settings_history.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <fstream>
#include <map>
#include <system_error>

#include "lang/catalogue.h"
#include "persist/settings_file.h"
#include "persist/snapshot_header.h"
#include "persist/text_file.h"

namespace vmx {
namespace {

namespace fs = std::filesystem;

struct ReasonName {
  SnapshotReason reason;
  std::string_view word;
};
constexpr ReasonName kReasons[] = {
    {SnapshotReason::Backup, "backup"},
    {SnapshotReason::Export, "export"},
    {SnapshotReason::BeforeImport, "before-import"},
    {SnapshotReason::BeforeRestore, "before-restore"},
    {SnapshotReason::BeforeReef, "before-reef"},
    {SnapshotReason::BeforeUndo, "before-undo"},
};

// One line of the event log: time, reason, program, file, tab-separated.
struct Event {
  int64_t taken = 0;
  SnapshotReason reason = SnapshotReason::Backup;
  std::string program;
  std::string file;
};

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    parts.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return parts;
    start = tab + 1;
  }
}

// A file name the log may point to: no folder, no temporary.
bool SnapshotName(std::string_view name) {
  return name.ends_with(".ini") && name.find('/') == std::string_view::npos &&
         name.find(".tmp-") == std::string_view::npos && !name.starts_with('.');
}

std::vector<Event> ReadEvents(const fs::path& log) {
  std::vector<Event> events;
  const FileRead read = ReadTextFile(log.string());
  if (read.status != FileRead::Status::Read) return events;
  std::string_view text = read.text;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    // A line without its end was cut short by a crash: it is not an event.
    if (end == std::string_view::npos) break;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::vector<std::string_view> parts = SplitTabs(line);
    if (parts.size() != 4 || !SnapshotName(parts[3])) continue;
    const std::optional<int64_t> taken = ParseUtcText(parts[0]);
    const std::optional<SnapshotReason> reason = ReasonOfWord(parts[1]);
    if (!taken || !reason) continue;
    events.push_back({*taken, *reason, std::string(parts[2]), std::string(parts[3])});
  }
  return events;
}

// Tabs and line ends would break the log's lines.
std::string LogSafe(std::string_view text) {
  std::string safe(text);
  for (char& c : safe)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return safe;
}

// The first bytes of a file, enough for its header, and the file's size.
bool ReadHead(const fs::path& path, std::string& head, uintmax_t& size) {
  std::error_code ec;
  size = fs::file_size(path, ec);
  if (ec) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  head.resize(kSnapshotHeaderLimit);
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  return true;
}

struct FileCheck {
  bool known = false;  // the file exists
  std::optional<SnapshotHeader> header;
  std::string problem;
};

FileCheck CheckFile(const fs::path& path) {
  FileCheck check;
  std::string head;
  uintmax_t size = 0;
  if (!ReadHead(path, head, size)) {
    check.problem = LangText("SnapshotMissing");
    return check;
  }
  check.known = true;
  SnapshotHeader header;
  if (!ParseSnapshotHeader(head, header)) {
    check.problem = LangText("SnapshotHeaderDamaged");
    return check;
  }
  if (size != header.headerSize + header.length) {
    check.problem = LangText("SnapshotCutShort");
    return check;
  }
  check.header = header;
  return check;
}

}  // namespace

int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string_view ReasonWord(SnapshotReason reason) {
  for (const ReasonName& r : kReasons)
    if (r.reason == reason) return r.word;
  return {};
}

std::optional<SnapshotReason> ReasonOfWord(std::string_view word) {
  for (const ReasonName& r : kReasons)
    if (r.word == word) return r.reason;
  return std::nullopt;
}

bool IsBeforeChange(SnapshotReason reason) {
  return reason == SnapshotReason::BeforeImport || reason == SnapshotReason::BeforeRestore ||
         reason == SnapshotReason::BeforeReef || reason == SnapshotReason::BeforeUndo;
}

std::string UtcText(int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds t{std::chrono::seconds(seconds)};
  const sys_days day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss time{t - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

std::optional<int64_t> ParseUtcText(std::string_view text) {
  // Exactly YYYY-MM-DDTHH:MM:SSZ.
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
      text[13] != ':' || text[16] != ':' || text[19] != 'Z')
    return std::nullopt;
  auto number = [&](size_t at, size_t n) -> std::optional<int> {
    int value = 0;
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, first + n, value);
    if (error != std::errc() || end != first + n || *first == '-' || *first == '+')
      return std::nullopt;
    return value;
  };
  const auto y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2),
             mi = number(14, 2), s = number(17, 2);
  if (!y || !mo || !d || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
  using namespace std::chrono;
  const year_month_day ymd{year(*y), month(static_cast<unsigned>(*mo)),
                           day(static_cast<unsigned>(*d))};
  if (!ymd.ok()) return std::nullopt;
  return sys_days(ymd).time_since_epoch().count() * 86400 + *h * 3600 + *mi * 60 + *s;
}

SettingsHistory::SettingsHistory(fs::path folder, std::string program, HistoryClock clock)
    : folder_(std::move(folder)),
      program_(std::move(program)),
      clock_(clock ? std::move(clock) : HistoryClock(SystemSeconds)) {}

SnapshotResult SettingsHistory::Take(const SettingsRecords& records, SnapshotReason reason,
                                     std::string_view boardId) {
  SnapshotResult result;
  IniDocument doc;
  PutSettings(doc, records);
  const std::string body = doc.Text();
  const int64_t now = clock_();
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec) {
    result.error = LangFormat("FileNotWritten", {folder_.string(), ec.message()});
    return result;
  }
  const std::vector<Event> events = ReadEvents(EventLog());
  if (!events.empty()) {
    // The same settings as the snapshot before: only the event is new.
    const FileRead previous = ReadTextFile((folder_ / events.back().file).string());
    SnapshotHeader header;
    if (previous.status == FileRead::Status::Read && ParseSnapshotHeader(previous.text, header) &&
        std::string_view(previous.text).substr(header.headerSize) == body)
      result.file = events.back().file;
  }
  if (result.file.empty()) {
    const std::string head = SnapshotHeaderText(now, reason, program_, boardId, body);
    result.file = SnapshotFileName(now, body);
    const fs::path path = folder_ / result.file;
    // A snapshot checks itself against its header: a power cut that empties
    // it shows it as damaged, so the flush a backup waits for is spared.
    const std::string error = ReplaceFile(path.string(), head + body, false);
    if (!error.empty()) {
      result.error = LangFormat("FileNotWritten", {path.string(), error});
      return result;
    }
    result.stored = true;
  }
  const std::string line = UtcText(now) + "\t" + std::string(ReasonWord(reason)) + "\t" +
                           LogSafe(program_) + "\t" + result.file + "\n";
  if (const std::string error = AppendLine(EventLog().string(), line); !error.empty())
    result.error = LangFormat("FileNotWritten", {EventLog().string(), error});
  return result;
}

std::vector<SnapshotEntry> SettingsHistory::List() const {
  std::vector<SnapshotEntry> entries;
  std::map<std::string, FileCheck> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (SnapshotName(name)) files.emplace(name, CheckFile(it->path()));
  }
  std::map<std::string, bool> logged;
  for (const Event& e : ReadEvents(EventLog())) {
    SnapshotEntry entry{0, e.taken, e.reason, e.program, e.file, false, {}};
    const auto file = files.find(e.file);
    if (file == files.end()) {
      entry.damaged = true;
      entry.problem = LangText("SnapshotMissing");
    } else if (!file->second.header) {
      entry.damaged = true;
      entry.problem = file->second.problem;
    }
    logged[e.file] = true;
    entries.push_back(std::move(entry));
  }
  // Files the log does not name (a crash between file and log line, or a log
  // lost): listed from their own headers, or as damaged.
  for (const auto& [name, check] : files) {
    if (logged.count(name)) continue;
    SnapshotEntry entry;
    entry.file = name;
    if (check.header) {
      entry.taken = check.header->taken;
      entry.reason = check.header->reason;
      entry.program = check.header->program;
    } else {
      entry.damaged = true;
      entry.problem = check.problem;
      // Its time is the file's; the system and file clocks differ by a fixed offset.
      const auto written = fs::last_write_time(folder_ / name, ec);
      if (!ec)
        entry.taken = std::chrono::duration_cast<std::chrono::seconds>(
                          (written - fs::file_time_type::clock::now()) +
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    }
    entries.push_back(std::move(entry));
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const SnapshotEntry& a, const SnapshotEntry& b) { return a.taken < b.taken; });
  for (size_t i = 0; i < entries.size(); ++i) entries[i].index = static_cast<int>(i + 1);
  return entries;
}

LoadedSnapshot SettingsHistory::Load(const SnapshotEntry& entry) const {
  LoadedSnapshot loaded;
  const fs::path path = folder_ / entry.file;
  if (!SnapshotName(entry.file)) {
    loaded.error = LangFormat("SnapshotDamaged", {path.string(), LangText("SnapshotMissing")});
    return loaded;
  }
  const FileRead read = ReadTextFile(path.string());
  if (read.status != FileRead::Status::Read) {
    loaded.error = LangFormat("FileNotRead", {path.string(), read.error});
    return loaded;
  }
  std::string problem;
  const std::optional<std::string_view> body = CheckedSnapshotBody(read.text, problem);
  if (!body) {
    loaded.error = LangFormat("SnapshotDamaged", {path.string(), problem});
    return loaded;
  }
  loaded.doc = IniDocument::Parse(*body);
  return loaded;
}

std::optional<SnapshotEntry> PickSnapshot(const std::vector<SnapshotEntry>& entries,
                                          std::string_view which) {
  if (entries.empty()) return std::nullopt;
  if (which == "latest") return entries.back();
  int index = 0;
  const auto [end, error] = std::from_chars(which.data(), which.data() + which.size(), index);
  if (which.empty() || error != std::errc() || end != which.data() + which.size() || index < 1 ||
      static_cast<size_t>(index) > entries.size())
    return std::nullopt;
  return entries[static_cast<size_t>(index - 1)];
}

std::optional<SnapshotEntry> UndoTarget(const std::vector<SnapshotEntry>& entries) {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    if (IsBeforeChange(it->reason)) return *it;
  return std::nullopt;
}

}  // namespace vmx
