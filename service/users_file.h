// The accounts of the service: a file of "name:hash" lines that only its
// owner may read and write.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vmx::service {

using Users = std::map<std::string, std::string>;  // name to stored hash

// The users of `path`; nothing (and `problem`) when the file cannot be read,
// is open to others, or holds a line that is no "name:hash".
std::optional<Users> LoadUsers(const std::string& path, std::string& problem);

// Adds or replaces `name` with `hash`, written anew with mode 0600; false
// with `problem` when it cannot.
bool StoreUser(const std::string& path, const std::string& name, const std::string& hash,
               std::string& problem);

}  // namespace vmx::service
