// The accounts of the service: a file of "name:hash" lines that only its
// owner may read and write.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "service/secrets.h"

namespace vmx::service {

using Users = std::map<std::string, std::string>;  // name to stored hash

// The users of `path`; nothing (and `problem`) when the file cannot be read,
// is open to others, or holds a line that is no "name:hash".
std::optional<Users> LoadUsers(const std::string& path, std::string& problem);

// `users` without those whose hash `hasher` cannot check; each one left out
// is told to `refused` with its name and the hash's scheme.
Users KnownUsers(
    Users users, const PasswordHasher& hasher,
    const std::function<void(const std::string& name, const std::string& scheme)>& refused);

// Adds or replaces `name` with `hash`, the file replaced whole and readable by
// its owner only; false with `problem` when it cannot.
bool StoreUser(const std::string& path, const std::string& name, const std::string& hash,
               std::string& problem);

}  // namespace vmx::service
