#include "service/access.h"

#include <algorithm>

namespace vmx::service {
namespace {

using namespace std::chrono_literals;

constexpr auto kSessionLife = 24h * 7;
constexpr size_t kMostSessions = 1000;
constexpr size_t kFailuresAllowed = 5;
constexpr auto kFailureWindow = 60s;
constexpr auto kBlocked = 60s;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

Access::Access(Config config, PasswordHasher& hasher, RandomSource& random)
    : config_(std::move(config)), hasher_(hasher), random_(random) {
  for (std::string& host : config_.hosts) host = Lower(host);
}

bool Access::HostAllowed(std::string_view host) const {
  host = Trim(host);
  std::string name;
  if (host.starts_with('[')) {
    const size_t close = host.find(']');
    if (close == std::string_view::npos) return false;
    name = host.substr(1, close - 1);
  } else {
    name = host.substr(0, host.find(':'));
  }
  name = Lower(name);
  return !name.empty() && std::find(config_.hosts.begin(), config_.hosts.end(), name) !=
                              config_.hosts.end();
}

std::string Access::BearerValue(std::string_view authorization) {
  authorization = Trim(authorization);
  if (authorization.size() < 7 || Lower(authorization.substr(0, 7)) != "bearer ") return {};
  return std::string(Trim(authorization.substr(7)));
}

std::string Access::CookieValue(std::string_view cookies) {
  while (!cookies.empty()) {
    const size_t end = cookies.find(';');
    std::string_view pair = Trim(cookies.substr(0, end));
    const size_t equals = pair.find('=');
    if (equals != std::string_view::npos && Trim(pair.substr(0, equals)) == kSessionCookie)
      return std::string(Trim(pair.substr(equals + 1)));
    if (end == std::string_view::npos) break;
    cookies.remove_prefix(end + 1);
  }
  return {};
}

Access::Caller Access::Identify(std::string_view authorization, std::string_view cookie,
                                Clock::time_point now) {
  auto session = [&](const std::string& id) {
    const auto it = sessions_.find(id);
    if (it == sessions_.end()) return false;
    if (it->second < now) {
      sessions_.erase(it);
      return false;
    }
    it->second = now + kSessionLife;
    return true;
  };
  const std::string bearer = BearerValue(authorization);
  if (!bearer.empty()) {
    if (!config_.token.empty() && SameSecret(bearer, config_.token)) return {true, false};
    return {session(bearer), false};
  }
  const std::string id = CookieValue(cookie);
  if (!id.empty() && session(id)) return {true, true};
  return {};
}

bool Access::Throttled(const std::string& address, Clock::time_point now) {
  const auto it = failures_.find(address);
  return it != failures_.end() && it->second.blockedUntil > now;
}

void Access::Failed(const std::string& address, Clock::time_point now) {
  // Forget addresses that have been quiet, so the table cannot grow without end.
  for (auto it = failures_.begin(); it != failures_.end();) {
    const bool quiet = it->second.blockedUntil < now &&
                       (it->second.times.empty() || it->second.times.back() + kFailureWindow < now);
    it = quiet && it->first != address ? failures_.erase(it) : std::next(it);
  }
  Failures& f = failures_[address];
  f.times.push_back(now);
  while (!f.times.empty() && f.times.front() + kFailureWindow < now) f.times.pop_front();
  if (f.times.size() >= kFailuresAllowed) {
    f.blockedUntil = now + kBlocked;
    f.times.clear();
  }
}

std::optional<std::string> Access::Open(Clock::time_point now) {
  if (sessions_.size() >= kMostSessions) {
    auto oldest = std::min_element(sessions_.begin(), sessions_.end(),
                                   [](const auto& a, const auto& b) { return a.second < b.second; });
    sessions_.erase(oldest);
  }
  std::string id = random_.Token(32);
  if (id.empty()) return std::nullopt;
  sessions_[id] = now + kSessionLife;
  return id;
}

std::optional<std::string> Access::Login(const std::string& address, const std::string& user,
                                         const std::string& password, Clock::time_point now) {
  const auto it = config_.users.find(user);
  if (it == config_.users.end() || !hasher_.Verify(it->second, password)) {
    Failed(address, now);
    return std::nullopt;
  }
  return Open(now);
}

std::optional<std::string> Access::LoginWithToken(const std::string& address,
                                                  const std::string& token, Clock::time_point now) {
  if (config_.token.empty() || !SameSecret(token, config_.token)) {
    Failed(address, now);
    return std::nullopt;
  }
  return Open(now);
}

void Access::Logout(std::string_view authorization, std::string_view cookie) {
  const std::string bearer = BearerValue(authorization);
  sessions_.erase(bearer.empty() ? CookieValue(cookie) : bearer);
}

std::string Access::SessionCookie(const std::string& id) const {
  return std::string(kSessionCookie) + "=" + id + "; Path=/; HttpOnly; SameSite=Strict" +
         (config_.tls ? "; Secure" : "");
}

std::string Access::ExpiredCookie() const {
  return std::string(kSessionCookie) + "=; Path=/; HttpOnly; SameSite=Strict; Max-Age=0" +
         (config_.tls ? "; Secure" : "");
}

}  // namespace vmx::service
