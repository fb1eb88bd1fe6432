// velmarinex-sim: a Velmarinex 2.x.4 board on a pseudo-terminal.
// The first line of standard output is the path to open; then every exchange
// on the line is shown as it happens. Faults are typed on standard input.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>

#include "link/port_name.h"
#include "platform/stop_signals.h"
#include "sim/control_command.h"
#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "sim/traffic_text.h"

namespace {

const char* const kUsage =
    "usage: velmarinex-sim [--rows N] [--type T] [--version V] [--link PATH] [--quiet]\n"
    "                      [--bootloader] [--jumper] [--page-size N] [--flash-size N]\n"
    "                      [--version-after-update V] [--baud N]\n"
    "  --rows N     schedule rows the board holds (default 12)\n"
    "  --type T     DeviceType it reports (default 5)\n"
    "  --version V  FirmwareVersion it reports (default 4)\n"
    "  --link PATH  keep PATH as a symbolic link to the board's pty\n"
    "  --quiet      do not show the traffic\n"
    "  --bootloader           start in the bootloader\n"
    "  --jumper               the bootloader jumper is set: every reset comes back into it\n"
    "  --page-size N          PageSize the bootloader reports (default 128)\n"
    "  --flash-size N         FlashSize the bootloader reports (default 32768)\n"
    "  --version-after-update V  FirmwareVersion once an image has been written\n"
    "  --baud N               pace the line at N baud 8N1 (default: as fast as the pty)\n";

std::string Stamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<int>(ms));
  return buf;
}

bool ParseNumber(const char* text, long lo, long hi, long& out) {
  char* end = nullptr;
  out = std::strtol(text, &end, 0);
  return end != text && *end == 0 && out >= lo && out <= hi;
}

}  // namespace

int main(int argc, char** argv) {
  vmx::sim::BoardOptions options;
  std::string link;
  bool quiet = false;
  int baud = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    long v = 0;
    const bool hasValue = i + 1 < argc;
    if (a == "--rows" && hasValue && ParseNumber(argv[i + 1], 0, 127, v)) {
      options.rows = static_cast<int>(v);
      ++i;
    } else if (a == "--type" && hasValue && ParseNumber(argv[i + 1], 0, 255, v)) {
      options.type = static_cast<uint8_t>(v);
      ++i;
    } else if (a == "--version" && hasValue && ParseNumber(argv[i + 1], 0, 255, v)) {
      options.version = static_cast<uint8_t>(v);
      ++i;
    } else if (a == "--page-size" && hasValue && ParseNumber(argv[i + 1], 0, 65535, v)) {
      options.pageSize = static_cast<uint16_t>(v);
      ++i;
    } else if (a == "--flash-size" && hasValue && ParseNumber(argv[i + 1], 0, 0xFFFFFFFFL, v)) {
      options.flashSize = static_cast<uint32_t>(v);
      ++i;
    } else if (a == "--version-after-update" && hasValue && ParseNumber(argv[i + 1], 1, 255, v)) {
      options.versionAfterUpdate = static_cast<uint8_t>(v);
      ++i;
    } else if (a == "--baud" && hasValue && ParseNumber(argv[i + 1], 0, 4000000, v)) {
      baud = static_cast<int>(v);
      ++i;
    } else if (a == "--bootloader") {
      options.inBootloader = true;
    } else if (a == "--jumper") {
      options.jumper = true;
    } else if (a == "--link" && hasValue) {
      link = argv[++i];
    } else if (a == "--quiet") {
      quiet = true;
    } else {
      if (a == "--help" || a == "-h") {
        std::cout << kUsage;
        return 0;
      }
      std::cerr << "bad argument: " << vmx::ShortForMessage(a) << "\n" << kUsage;
      return 2;
    }
  }

  // Signals are taken from a descriptor, so no handler runs inside the serving thread.
  const sigset_t stopSignals = vmx::BlockStopSignals();
  const int sigfd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

  vmx::sim::SimBoard board(options);
  vmx::sim::PtyServer server(board, link);
  server.SetLineRate(baud);
  if (!quiet) {
    server.SetTrafficObserver([](vmx::sim::PtyServer::Direction d, std::string_view bytes) {
      const bool in = d == vmx::sim::PtyServer::Direction::In;
      std::printf("%s %s %s\n", Stamp().c_str(), in ? "PC    >" : "board <",
                  vmx::sim::Printable(bytes).c_str());
      std::fflush(stdout);
    });
  }
  try {
    server.Start();
  } catch (const std::exception& e) {
    std::cerr << "velmarinex-sim: " << e.what() << "\n";
    return 1;
  }
  std::printf("%s\n", server.PortPath().c_str());
  std::fflush(stdout);

  bool stdinOpen = true;
  std::string typed;
  for (;;) {
    pollfd fds[2] = {{sigfd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (poll(fds, stdinOpen ? 2 : 1, -1) < 0) continue;
    if (fds[0].revents & POLLIN) break;
    if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
      char buf[256];
      const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n <= 0) {
        stdinOpen = false;  // no console: keep serving until a signal comes
        continue;
      }
      typed.append(buf, static_cast<size_t>(n));
      for (size_t nl; (nl = typed.find('\n')) != std::string::npos; typed.erase(0, nl + 1)) {
        const std::string answer = RunControlCommand(typed.substr(0, nl), board, server);
        if (!answer.empty()) std::cerr << answer << (answer.back() == '\n' ? "" : "\n");
      }
    }
  }
  server.Stop();
  return 0;
}
