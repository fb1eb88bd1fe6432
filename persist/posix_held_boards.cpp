#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>

#include "persist/held_boards.h"
#include "persist/text_file.h"

namespace vmx {
namespace {

// Ids name files here: a board id of letters, digits, '_' and '-' only.
bool SafeId(std::string_view id) {
  if (id.empty() || id.size() > 200) return false;
  for (const char c : id)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
  return true;
}

bool Alive(pid_t pid) {
  return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);  // EPERM: another user's, alive
}

}  // namespace

std::filesystem::path HeldFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return {};
  return std::filesystem::path(runtime) / "velmarinex" / "held";
}

std::vector<std::filesystem::path> HeldFolders() {
  std::vector<std::filesystem::path> folders;
  if (std::filesystem::path own = HeldFolder(); !own.empty()) folders.push_back(own);
  folders.emplace_back("/run/velmarinex/held");
  return folders;
}

BoardHold::BoardHold(const std::filesystem::path& folder, const std::string& boardId) {
  if (folder.empty() || !SafeId(boardId)) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::filesystem::path path = folder / boardId;
  // The folder lives in memory: nothing to make durable.
  if (ReplaceFile(path.string(), std::to_string(getpid()) + "\n", false).empty()) path_ = path;
}

BoardHold::~BoardHold() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove(path_, ec);
}

bool ServiceHolds(std::string_view boardId, const std::vector<std::filesystem::path>& folders) {
  if (!SafeId(boardId)) return false;
  for (const std::filesystem::path& folder : folders) {
    const FileRead mark = ReadTextFile((folder / boardId).string());
    if (mark.status != FileRead::Status::Read) continue;
    long long pid = 0;
    const char* end = mark.text.data() + mark.text.size();
    const auto [at, error] = std::from_chars(mark.text.data(), end, pid);
    if (error == std::errc() && (at == end || *at == '\n') && pid <= 0x7fffffff &&
        Alive(static_cast<pid_t>(pid)))
      return true;
  }
  return false;
}

}  // namespace vmx
