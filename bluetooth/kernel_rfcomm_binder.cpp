#include "bluetooth/kernel_rfcomm_binder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "bluetooth/rfcomm_kernel.h"
#include "bluetooth/sdp_query.h"

extern char** environ;

namespace vmx {
namespace {

constexpr auto kSlice = std::chrono::milliseconds(50);
// pkexec's own exit codes: the user dismissed the dialog, or was refused.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecRefused = 127;

bool NotPermitted(const BtResult& r) {
  return r && r->name == "EPERM";
}

std::string PkexecPath() {
  for (const char* dir : {"/usr/bin", "/bin", "/usr/local/bin"}) {
    std::string path = std::string(dir) + "/pkexec";
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

}  // namespace

KernelRfcommBinder::KernelRfcommBinder(std::string helper) : helper_(std::move(helper)) {
  if (helper_.empty()) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) helper_ = (self.parent_path() / "velmarinex-rfcomm").string();
  }
}

BtResult KernelRfcommBinder::List(std::vector<RfcommBinding>& bindings) {
  return rfcomm::ListBindings(bindings);
}

BtResult KernelRfcommBinder::FindChannel(const std::string& address, int& channel) {
  return QuerySerialPortChannel(address, channel, interrupted_);
}

BtResult KernelRfcommBinder::Bind(const std::string& address, int channel, int& id) {
  BtResult result = rfcomm::CreateBinding(address, channel, id);
  if (!NotPermitted(result)) return result;
  return RunHelper({"bind", address, std::to_string(channel)}, id);
}

BtResult KernelRfcommBinder::Release(int id) {
  BtResult result = rfcomm::ReleaseBinding(id);
  if (!NotPermitted(result)) return result;
  int released = id;
  return RunHelper({"release", std::to_string(id)}, released);
}

BtResult KernelRfcommBinder::RunHelper(const std::vector<std::string>& args, int& id) {
  const BtError denied = rfcomm::ErrnoError(EPERM);
  if (helper_.empty() || ::access(helper_.c_str(), X_OK) != 0) return denied;
  std::vector<std::string> direct = {helper_};
  direct.insert(direct.end(), args.begin(), args.end());
  std::vector<std::vector<std::string>> ways = {direct};
  if (const std::string pkexec = PkexecPath(); !pkexec.empty()) {
    std::vector<std::string> elevated = {pkexec};
    elevated.insert(elevated.end(), direct.begin(), direct.end());
    ways.push_back(elevated);
  }
  BtResult result = denied;
  for (const auto& argv : ways) {
    int status = 0;
    std::string output;
    if (BtResult e = Spawn(argv, status, output)) return e;
    if (status == 0) {
      try {
        id = std::stoi(output);
      } catch (const std::exception&) {
        return rfcomm::ErrnoError(EBADMSG);
      }
      return {};
    }
    if (status == kPkexecDismissed || status == kPkexecRefused) return denied;
    // The helper's own failure: "NAME<tab>text".
    const size_t tab = output.find('\t');
    if (tab == std::string::npos) return denied;
    std::string text = output.substr(tab + 1);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    result = BtError{output.substr(0, tab), text};
    if (!NotPermitted(result)) return result;
  }
  return result;
}

BtResult KernelRfcommBinder::Spawn(const std::vector<std::string>& argv, int& status,
                                   std::string& output) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) < 0) return rfcomm::ErrnoError(errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return rfcomm::ErrnoError(spawned);
  }
  int raw = 0;
  bool stopped = false;
  for (;;) {
    const pid_t done = ::waitpid(pid, &raw, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) break;
    if (interrupted_ && !stopped) {
      ::kill(pid, SIGTERM);  // the child this binder started, by its id
      stopped = true;
    }
    std::this_thread::sleep_for(kSlice);
  }
  char buffer[256];
  ssize_t n;
  while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) output.append(buffer, n);
  ::close(out[0]);
  if (stopped) return BtError{"org.bluez.Error.Canceled", "Operation canceled"};
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128;
  return {};
}

}  // namespace vmx
