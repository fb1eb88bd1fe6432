#include "cli/monitor_command.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/console_host.h"
#include "link/port_name.h"
#include "link/shared_store.h"
#include "link/thd_com.h"
#include "platform/stop_request.h"

namespace vmx::cli {

const char* MonitorUsage() {
  return "usage: velmarinex-cli monitor PORT [-debug]\n"
         "  PORT     the board's serial device, for example /dev/rfcomm0\n"
         "  -debug   also show every exchange on the line\n"
         "Shows the log and status lines as the window would, until Ctrl+C.\n";
}

int MonitorCommand(int argc, char** argv) {
  std::string port;
  bool debug = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-debug" || a == "--debug" || a == "/debug")
      debug = true;
    else if (port.empty())
      port = PortFromArgument(a);  // a bare name means /dev/NAME, as in the window
    else
      port.clear(), i = argc;  // two ports: fall through to the usage text
  }
  if (port.empty()) {
    std::fputs(MonitorUsage(), stderr);
    return 2;
  }

  // Stop requests are waited for here, so the worker and its hand-offs never see them.
  StopRequest stop;

  SharedStore store;
  ConsoleHost host(stdout);
  auto worker = TthdCom::Create(port, debug, store, host);
  bool signalled = false;
  while (!worker->LinkClosed()) {
    if (stop.Wait(std::chrono::milliseconds(100))) {
      signalled = true;
      break;
    }
  }
  worker->Terminate();
  // A transaction on the line takes at most its timeout; the worker then reports its end.
  worker->WaitClosed(std::chrono::seconds(12));
  worker.reset();
  std::fflush(stdout);
  return signalled ? 0 : 1;
}

}  // namespace vmx::cli
