// What the service asks of the system it runs on, one implementation per
// platform (POSIX, Windows), picked by the build.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vmx::service {

// A line typed on the console without echo, after `prompt`; from a pipe the
// line as it stands. Nothing at the input's end.
std::optional<std::string> ReadSecret(const std::string& prompt);

// The data folder when --data gives none; empty when there is none.
std::filesystem::path DefaultDataFolder();

// Why other users could read or change the file at `path`; empty when only
// its owner can (or the system has no such notion the service can check).
std::string OpenToOthers(const std::string& path);

// Makes the file at `path` readable and writable by its owner alone; the
// system's words when it cannot.
std::string RestrictToOwner(const std::string& path);

// Writes the loopback token where only this user can read it, beside `data`
// or in the system's place for it; the file's path, or empty and `problem`.
std::string WriteTokenFile(const std::string& token, const std::filesystem::path& data,
                           std::string& problem);

// Before the service starts: a peer that hangs up must not end the process.
void PrepareProcess();

}  // namespace vmx::service
