// Who may use the service: the Host header rule against DNS rebinding, the
// loopback token, the users' passwords, session cookies and the throttling of
// failed logins per address. Runs on the I/O thread only.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/secrets.h"
#include "service/users_file.h"

namespace vmx::service {

inline constexpr std::string_view kSessionCookie = "vmx_session";

class Access {
 public:
  using Clock = std::chrono::steady_clock;

  struct Config {
    bool tls = false;
    std::string token;  // the loopback token; empty with a users file
    Users users;
    std::vector<std::string> hosts;  // Host names accepted (without port), lower case
  };

  Access(Config config, PasswordHasher& hasher, RandomSource& random);

  // The Host header's name (port cut off) is one of the accepted ones.
  bool HostAllowed(std::string_view host) const;

  struct Caller {
    bool known = false;
    bool byCookie = false;  // only a cookie spoke for it: a foreign page may have sent it
  };
  // From "Authorization: Bearer X" (the token or a session) or the session cookie.
  Caller Identify(std::string_view authorization, std::string_view cookie, Clock::time_point now);

  // A login from `address` is refused for now after too many failures.
  bool Throttled(const std::string& address, Clock::time_point now);
  // The new session's id, or nothing (and the failure counted).
  std::optional<std::string> Login(const std::string& address, const std::string& user,
                                   const std::string& password, Clock::time_point now);
  std::optional<std::string> LoginWithToken(const std::string& address, const std::string& token,
                                            Clock::time_point now);
  // Ends the session a request came with.
  void Logout(std::string_view authorization, std::string_view cookie);

  // Set-Cookie values.
  std::string SessionCookie(const std::string& id) const;
  std::string ExpiredCookie() const;

 private:
  std::optional<std::string> Open(Clock::time_point now);
  void Failed(const std::string& address, Clock::time_point now);
  static std::string CookieValue(std::string_view cookies);
  static std::string BearerValue(std::string_view authorization);

  Config config_;
  PasswordHasher& hasher_;
  RandomSource& random_;
  std::map<std::string, Clock::time_point> sessions_;  // id to expiry
  struct Failures {
    std::deque<Clock::time_point> times;
    Clock::time_point blockedUntil{};
  };
  std::map<std::string, Failures> failures_;
};

}  // namespace vmx::service
