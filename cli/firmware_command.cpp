#include "cli/firmware_command.h"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "cli/console_host.h"
#include "lang/catalogue.h"
#include "link/firmware_image.h"
#include "link/port_name.h"
#include "link/shared_store.h"
#include "link/thd_com.h"
#include "platform/stop_request.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli firmware PORT FILE [-debug]\n"
    "  Restarts the board on PORT into its bootloader, writes the firmware image\n"
    "  FILE (.vxh) and starts the new firmware. A board already in its bootloader\n"
    "  is updated as it is. -debug shows every exchange on the line.\n"
    "  Exit status: 0 updated and running, 1 refused or failed, 2 bad arguments.\n"
    "  VELMARINEX_LINE_TIMEOUT_MS sets how long a reply may take (default 5000).\n";

// The command line's side of the worker: it asks for the update as soon as the
// board is known, offers the given file once, and keeps the result.
class FirmwareHost final : public ConsoleHost {
 public:
  FirmwareHost(std::FILE* out, SharedStore& store, std::string file)
      : ConsoleHost(out), store_(store), file_(std::move(file)) {}

  std::string ChooseFirmwareFile() override {
    // Offered once: a file the bootloader refuses is not offered again, and the
    // worker then sends the board back to its application.
    begun_ = true;
    return offered_.exchange(true) ? std::string() : file_;
  }

  void Identified(uint8_t type, uint8_t) override {
    lastType_ = type;
    if (begun_) return;
    if (type == kThisBoard) {
      // Any firmware version: the update is the way to the right one. The
      // records are of no use here, so nothing else is read first.
      if (!requested_.exchange(true))
        store_.SetRequests(request::Bootloader);
      else if (++stillApplication_ >= 2)  // both identifications after the restart
        stuck_ = true;
    } else if (type == kThisBootloader) {
      store_.Raise(request::Bootloader);
    } else if (type == kNoDevice) {
      noBoard_ = true;
    }
  }

  void FirmwareFinished(const FirmwareResult& result) override {
    std::lock_guard g(lock_);
    result_ = result;
    done_ = true;
  }

  bool Done() const { return done_; }
  bool NoBoard() const { return noBoard_; }
  // The board was asked to restart into its bootloader and still runs its application.
  bool Stuck() const { return stuck_; }
  uint8_t LastType() const { return lastType_; }
  FirmwareResult Result() {
    std::lock_guard g(lock_);
    return result_;
  }

 private:
  SharedStore& store_;
  const std::string file_;
  std::atomic<bool> offered_{false};
  std::atomic<bool> begun_{false};
  std::atomic<bool> noBoard_{false};
  std::atomic<bool> requested_{false};
  std::atomic<int> stillApplication_{0};
  std::atomic<bool> stuck_{false};
  std::atomic<bool> done_{false};
  std::atomic<uint8_t> lastType_{kNoDevice};
  std::mutex lock_;
  FirmwareResult result_;
};

// A slow link (or a test) may need another reply timeout than the board's 5 s.
LinkTiming TimingFromEnvironment() {
  LinkTiming timing;
  if (const char* text = std::getenv("VELMARINEX_LINE_TIMEOUT_MS")) {
    int ms = 0;
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), ms);
    if (error == std::errc() && end == s.data() + s.size() && ms >= 50 && ms <= 60000)
      timing.serialTimeout = std::chrono::milliseconds(ms);
  }
  return timing;
}

}  // namespace

int FirmwareCommand(int argc, char** argv) {
  std::string port, file;
  bool debug = false, extra = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-debug" || a == "--debug" || a == "/debug")
      debug = true;
    else if (port.empty())
      port = PortFromArgument(a);
    else if (file.empty())
      file = a;
    else
      extra = true;
  }
  if (port.empty() || file.empty() || extra) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }

  SharedStore store;
  FirmwareHost host(stdout, store, file);

  // A file the bootloader would refuse never gets the board into it: the same
  // parse runs first, and only a refusal is shown.
  {
    std::vector<std::pair<bool, std::string>> said;
    auto memory = std::make_unique<FirmwareMemory>();
    const ImageReports quiet{[&](const std::string& t) { said.emplace_back(false, t); },
                             [&](const std::string& t) { said.emplace_back(true, t); },
                             [&](const std::string& p) { return host.FileInfoText(p); }, false};
    if (!ParseFirmwareFile(file, *memory, quiet).ok) {
      for (const auto& [status, text] : said) status ? host.StatusLine(text) : host.LogLine(text);
      return 1;
    }
  }

  // Stop requests are waited for here, so the worker and its hand-offs never see them.
  StopRequest stop;
  auto worker = TthdCom::Create(port, debug, store, host, TimingFromEnvironment());
  bool signalled = false;
  while (!host.Done() && !host.NoBoard() && !host.Stuck() && !worker->LinkClosed()) {
    if (stop.Wait(std::chrono::milliseconds(50))) {
      signalled = true;
      break;
    }
  }
  worker->Terminate();
  // A transaction on the line takes at most its timeout; the worker then reports its end.
  worker->WaitClosed(std::chrono::seconds(15));
  worker.reset();

  const bool done = host.Done();
  const FirmwareResult result = host.Result();
  // The worker says so itself when it was stopped amid the blocks.
  if (signalled && host.LastType() == kThisBootloader &&
      !(done && result.outcome == FirmwareOutcome::Stopped))
    host.LogLine(LangText("UpdateStopped"));
  if (host.Stuck()) host.StatusLine(LangText("FirmwareUpdateFailed"));
  std::fflush(stdout);
  return done && result.outcome == FirmwareOutcome::Updated ? 0 : 1;
}

const char* FirmwareUsage() {
  return kUsage;
}

}  // namespace vmx::cli
