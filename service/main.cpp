// velmarinexd: every board of this computer behind an HTTP API, in the foreground.
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include <boost/asio/signal_set.hpp>

#include "app/sysfs_port_source.h"
#include "persist/data_root.h"
#include "service/service_api.h"
#include "service/http_server.h"
#include "service/service_options.h"
#include "service/token_file.h"

using namespace vmx::service;

namespace {

// A line typed on the terminal without echo; from a pipe, a line as it stands.
std::optional<std::string> ReadSecret(const char* prompt) {
  const bool terminal = isatty(STDIN_FILENO);
  termios saved{};
  if (terminal) {
    std::fprintf(stderr, "%s", prompt);
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fprintf(stderr, "\n");
  }
  if (!read) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

int AddUser(const ServiceOptions& options) {
  const auto first = ReadSecret(("Password for " + options.addUser + ": ").c_str());
  const auto second = ReadSecret("The same again: ");
  if (!first || !second || *first != *second || first->empty()) {
    std::fprintf(stderr, "velmarinexd: the passwords are empty or differ; nothing written\n");
    return 1;
  }
  const auto hasher = MakePasswordHasher();
  const std::string hash = hasher ? hasher->Hash(*first) : std::string();
  std::string problem;
  if (hash.empty() || !StoreUser(options.users, options.addUser, hash, problem)) {
    std::fprintf(stderr, "velmarinexd: %s\n",
                 problem.empty() ? "the password could not be hashed" : problem.c_str());
    return 1;
  }
  std::fprintf(stderr, "velmarinexd: %s written into %s\n", options.addUser.c_str(),
               options.users.c_str());
  return 0;
}

std::filesystem::path DataFolder(const ServiceOptions& options) {
  if (!options.data.empty()) return options.data;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
    return std::filesystem::path(state) / "velmarinex";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".local/state/velmarinex";
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  const auto options = ParseServiceOptions(std::vector<std::string>(argv + 1, argv + argc), problem);
  if (!options) {
    std::fprintf(stderr, "velmarinexd: %s\n%s", problem.c_str(), ServiceUsage());
    return 2;
  }
  if (options->help) {
    std::fputs(ServiceUsage(), stdout);
    return 0;
  }
  if (!options->addUser.empty()) return AddUser(*options);
  ServiceLog log;
  log.SetLevel(options->logLevel);
  auto fail = [&](const std::string& why) {
    log.Error(why);
    return 1;
  };
  if (const std::string why = ListenProblem(*options); !why.empty()) return fail(why);
  auto hasher = MakePasswordHasher();
  auto random = MakeRandomSource();
  if (!hasher || !random) return fail("libsodium could not be started");

  Access::Config access;
  access.tls = !options->tlsCert.empty();
  if (!options->users.empty()) {
    auto users = LoadUsers(options->users, problem);
    if (!users) return fail(problem);
    access.users = std::move(*users);
  }
  access.hosts = options->allowHosts;
  access.hosts.push_back(options->listenHost);
  access.hosts.push_back("localhost");

  const std::filesystem::path data = DataFolder(*options);
  std::error_code ec;
  if (!data.empty()) std::filesystem::create_directories(data, ec);
  if (data.empty() || ec) return fail("no data folder: give --data DIR");

  boost::asio::io_context io(1);
  std::unique_ptr<BoardHub> boards;
  EventHub events(io, [&](const std::string& id) { return boards->Summary(id); });
  boards = std::make_unique<BoardHub>(io, *options, events, log, std::make_unique<vmx::SysfsPortSource>());
  std::unique_ptr<Access> gate;
  std::unique_ptr<ServiceApi> api;
  HttpServer server(io, [&](Exchange&& exchange, Respond respond) {
    api->Handle(std::move(exchange), std::move(respond));
  }, log);
  if (access.tls && !server.UseTls(options->tlsCert, options->tlsKey, problem)) return fail(problem);
  if (!server.Listen(options->listenHost, options->listenPort, problem)) return fail(problem);
  const std::string scheme = access.tls ? "https://" : "http://";
  const std::string host = options->listenHost.find(':') != std::string::npos
                               ? "[" + options->listenHost + "]"
                               : options->listenHost;
  const std::string origin = scheme + host + ":" + std::to_string(server.Port());

  std::string tokenPath;
  if (options->users.empty()) {
    access.token = random->Token(32);
    tokenPath = WriteTokenFile(access.token, data, problem);
    if (tokenPath.empty()) return fail(problem);
  }
  gate = std::make_unique<Access>(access, *hasher, *random);
  api = std::make_unique<ServiceApi>(io, *boards, events, *gate, log);

  log.Info("velmarinexd listening on " + origin);
  if (!access.token.empty())
    log.Info("open " + origin + "/?token=" + access.token + " (the token is in " + tokenPath + ")");
  boards->Start();

  boost::asio::signal_set stop(io, SIGINT, SIGTERM);
  stop.async_wait([&](const boost::system::error_code&, int) {
    log.Info("velmarinexd stopping");
    server.Stop();
    boards->Stop();
    io.stop();
  });
  signal(SIGPIPE, SIG_IGN);
  io.run();
  boards.reset();
  if (!tokenPath.empty()) unlink(tokenPath.c_str());
  return 0;
}
