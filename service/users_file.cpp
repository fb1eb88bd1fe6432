#include "service/users_file.h"

#include "persist/text_file.h"
#include "service/service_platform.h"

namespace vmx::service {
namespace {

// The scheme's name of a stored hash: "argon2id" of "$argon2id$v=19$...".
std::string SchemeOf(const std::string& stored) {
  if (!stored.starts_with('$')) return "?";
  const size_t end = stored.find('$', 1);
  return stored.substr(1, std::min<size_t>(end == std::string::npos ? stored.size() : end, 33) - 1);
}

}  // namespace

std::optional<Users> LoadUsers(const std::string& path, std::string& problem) {
  const FileRead file = ReadTextFile(path);
  if (file.status != FileRead::Status::Read) {
    problem = path + " could not be read" + (file.error.empty() ? "" : ": " + file.error);
    return std::nullopt;
  }
  if (std::string open = OpenToOthers(path); !open.empty()) {
    problem = std::move(open);
    return std::nullopt;
  }
  Users users;
  size_t at = 0;
  for (int number = 1; at < file.text.size(); ++number) {
    size_t end = file.text.find('\n', at);
    if (end == std::string::npos) end = file.text.size();
    std::string line = file.text.substr(at, end - at);
    at = end + 1;
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty() || line.starts_with('#')) continue;
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == line.size()) {
      problem = path + " line " + std::to_string(number) + " is no name:hash line";
      return std::nullopt;
    }
    users[line.substr(0, colon)] = line.substr(colon + 1);
  }
  return users;
}

Users KnownUsers(Users users, const PasswordHasher& hasher,
                 const std::function<void(const std::string&, const std::string&)>& refused) {
  for (auto it = users.begin(); it != users.end();) {
    if (hasher.Knows(it->second)) {
      ++it;
      continue;
    }
    refused(it->first, SchemeOf(it->second));
    it = users.erase(it);
  }
  return users;
}

bool StoreUser(const std::string& path, const std::string& name, const std::string& hash,
               std::string& problem) {
  const FileRead old = ReadTextFile(path);
  if (old.status == FileRead::Status::Failed) {
    problem = path + " could not be read: " + old.error;
    return false;
  }
  std::string kept;
  for (size_t at = 0; at < old.text.size();) {
    size_t end = old.text.find('\n', at);
    if (end == std::string::npos) end = old.text.size();
    const std::string line = old.text.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(name + ":")) kept += line + "\n";
  }
  kept += name + ":" + hash + "\n";
  // Replaced whole, so a failure leaves the old file; a new one is made the
  // owner's alone before anything else can read it.
  if (old.status == FileRead::Status::Missing) {
    if (std::string why = ReplaceFile(path, ""); !why.empty()) {
      problem = path + " could not be written: " + why;
      return false;
    }
  }
  if (std::string why = RestrictToOwner(path); !why.empty()) {
    problem = path + " could not be made private: " + why;
    return false;
  }
  if (std::string why = ReplaceFile(path, kept); !why.empty()) {
    problem = path + " could not be written: " + why;
    return false;
  }
  return true;
}

}  // namespace vmx::service
