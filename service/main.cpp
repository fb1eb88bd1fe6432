// velmarinexd: every board of this computer behind an HTTP API, in the foreground.
#include <cstdio>
#include <thread>

#include "app/port_source.h"
#include "lang/catalogue.h"
#include "platform/file_path.h"
#include "platform/stop_request.h"
#include "service/http_server.h"
#include "service/service_api.h"
#include "service/service_control.h"
#include "service/service_options.h"
#include "service/service_platform.h"

using namespace vmx::service;

namespace {

int AddUser(const ServiceOptions& options) {
  const auto first = ReadSecret("Password for " + options.addUser + ": ");
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
  if (!options.data.empty()) return vmx::PathOfText(options.data);
  return DefaultDataFolder();
}

// The service manager runs the program with the options it was installed
// with, all but the word that installed it.
int Install(const std::vector<std::string>& words) {
  std::vector<std::string> kept;
  for (const std::string& w : words)
    if (w != "--install-service") kept.push_back(w);
  const std::string problem = InstallService(kept);
  if (!problem.empty()) {
    std::fprintf(stderr, "velmarinexd: %s\n", problem.c_str());
    return 1;
  }
  std::fprintf(stderr,
               "velmarinexd: installed as the service velmarinexd; it starts with the computer "
               "(net start velmarinexd starts it now)\n");
  return 0;
}

int Uninstall() {
  const std::string problem = UninstallService();
  if (!problem.empty()) {
    std::fprintf(stderr, "velmarinexd: %s\n", problem.c_str());
    return 1;
  }
  std::fprintf(stderr, "velmarinexd: the service velmarinexd is removed\n");
  return 0;
}

int Serve(ServiceOptions* options) {
  std::string problem;
  // Before any thread starts: on Linux they all inherit the blocked signals.
  vmx::StopRequest stop;
  ServiceLog log;
  log.SetLevel(options->logLevel);
  auto fail = [&](const std::string& why) {
    log.Error(why);
    return 1;
  };
  if (const std::string why = ListenProblem(*options); !why.empty()) return fail(why);
  auto hasher = MakePasswordHasher();
  auto random = MakeRandomSource();
  if (!hasher || !random) return fail("the system's cryptography could not be started");

  Access::Config access;
  access.tls = !options->tlsCert.empty();
  if (!options->users.empty()) {
    auto users = LoadUsers(options->users, problem);
    if (!users) return fail(problem);
    // A hash this build cannot check would keep its user out without a word.
    access.users = KnownUsers(
        std::move(*users), *hasher, [&](const std::string& name, const std::string& scheme) {
          log.Warning(vmx::LangFormat("UsersHashUnknown", {options->users, name, scheme}));
        });
  }
  access.hosts = options->allowHosts;
  access.hosts.push_back(options->listenHost);
  access.hosts.push_back("localhost");

  const std::filesystem::path data = DataFolder(*options);
  std::error_code ec;
  if (!data.empty()) std::filesystem::create_directories(data, ec);
  if (data.empty() || ec) return fail("no data folder: give --data DIR");
  options->data = data.string();  // the boards keep their history there

  boost::asio::io_context io(1);
  std::unique_ptr<BoardHub> boards;
  EventHub events(io, [&](const std::string& id) { return boards->Summary(id); });
  boards = std::make_unique<BoardHub>(io, *options, events, log, vmx::MakeSystemPortSource());
  std::unique_ptr<Access> gate;
  std::unique_ptr<ServiceApi> api;
  HttpServer server(
      io,
      [&](Exchange&& exchange, Respond respond) {
        api->Handle(std::move(exchange), std::move(respond));
      },
      log);
  if (access.tls && !server.UseTls(options->tlsCert, options->tlsKey, problem))
    return fail(problem);
  if (!server.Listen(options->listenHost, options->listenPort, problem)) return fail(problem);
  const std::string scheme = access.tls ? "https://" : "http://";
  const std::string host = options->listenHost.find(':') != std::string::npos
                               ? "[" + options->listenHost + "]"
                               : options->listenHost;
  const std::string origin = scheme + host + ":" + std::to_string(server.Port());

  std::string tokenPath;
  if (options->users.empty()) {
    access.token = random->Token(32);
    if (access.token.empty()) return fail("no random token could be made");
    tokenPath = WriteTokenFile(access.token, data, problem);
    if (tokenPath.empty()) return fail(problem);
  }
  gate = std::make_unique<Access>(access, *hasher, *random);
  api = std::make_unique<ServiceApi>(io, *boards, events, *gate, log);

  log.Info("velmarinexd listening on " + origin);
  if (!access.token.empty())
    log.Info("open " + origin + "/?token=" + access.token + " (the token is in " + tokenPath + ")");
  boards->Start();

  PrepareProcess();
  std::thread worker([&] { io.run(); });
  while (!stop.Wait(std::chrono::milliseconds(250)) && !io.stopped()) {
  }
  log.Info("velmarinexd stopping");
  boost::asio::post(io, [&] {
    server.Stop();
    boards->Stop();
    io.stop();
  });
  worker.join();
  boards.reset();
  std::error_code ignored;
  if (!tokenPath.empty()) std::filesystem::remove(vmx::PathOfText(tokenPath), ignored);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  std::string problem;
  auto options = ParseServiceOptions(words, problem);
  if (!options) {
    std::fprintf(stderr, "velmarinexd: %s\n%s", problem.c_str(), ServiceUsage());
    return 2;
  }
  if (options->help) {
    std::fputs(ServiceUsage(), stdout);
    return 0;
  }
  if (!options->addUser.empty()) return AddUser(*options);
  if (options->installService) return Install(words);
  if (options->uninstallService) return Uninstall();
  if (options->asService) return RunAsService([&] { return Serve(&*options); });
  return Serve(&*options);
}
