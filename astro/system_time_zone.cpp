#include "astro/system_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>

#include "astro/fixed_time_zone.h"
#include "astro/library_time_zone.h"
#include "astro/posix_time_zone.h"

namespace vmx {

namespace {

constexpr std::streamsize kMaxZoneFile = 1 << 20;

std::optional<std::string> ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<size_t>(kMaxZoneFile), '\0');
  in.read(bytes.data(), kMaxZoneFile);
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

std::optional<std::string> FooterOfFile(const std::string& path) {
  const auto bytes = ReadSmallFile(path);
  if (!bytes) return std::nullopt;
  return TzifFooter(*bytes);
}

// The zone file a TZ value names, as the C library looks it up; no file for a
// name that climbs out of the zone directory.
std::optional<std::string> ZoneFilePath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (name.front() == '/') return std::string(name);
  if (name.find("..") != std::string_view::npos) return std::nullopt;
  const char* dir = std::getenv("TZDIR");
  std::string path = dir && *dir ? dir : "/usr/share/zoneinfo";
  return path + "/" + std::string(name);
}

// The rule string that governs the local zone now, when there is one.
std::optional<std::string> LocalRuleString() {
  const char* tz = std::getenv("TZ");
  if (!tz) return FooterOfFile("/etc/localtime");
  std::string_view value = tz;
  const bool fileOnly = value.starts_with(':');
  if (fileOnly) value.remove_prefix(1);
  if (value.empty()) return std::string("UTC0");
  if (const auto path = ZoneFilePath(value)) {
    if (auto footer = FooterOfFile(*path)) return footer;
  }
  if (fileOnly) return std::nullopt;
  return std::string(value);
}

bool AgreesWithLibrary(const TimeZone& rules) {
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  const int year = today.tm_year + 1900;
  const LibraryTimeZone library;
  for (int y = year; y <= year + 1; ++y)
    for (int month = 1; month <= 12; ++month)
      for (int day : {1, 15}) {
        const LocalDateTime t{y, month, day, 12, 0, 0, 0};
        if (rules.OffsetMinutes(t) != library.OffsetMinutes(t)) return false;
      }
  return true;
}

bool ZoneNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
         c == '_' || c == '-' || c == '+';
}

}  // namespace

std::shared_ptr<const TimeZone> LoadNamedTimeZone(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.size() > 64) return nullptr;
  for (const char c : name)
    if (!ZoneNameCharacter(c)) return nullptr;
  const auto path = ZoneFilePath(name);
  const auto footer = path ? FooterOfFile(*path) : std::nullopt;
  const auto info = footer ? ParsePosixTimeZone(*footer) : std::nullopt;
  if (!info) return nullptr;
  return std::make_shared<const FixedTimeZone>(*info);
}

std::shared_ptr<const TimeZone> LoadSystemTimeZone() {
  tzset();
  if (const auto text = LocalRuleString()) {
    if (const auto info = ParsePosixTimeZone(*text)) {
      auto zone = std::make_shared<const FixedTimeZone>(*info);
      if (AgreesWithLibrary(*zone)) return zone;
    }
  }
  return std::make_shared<const LibraryTimeZone>();
}

}  // namespace vmx
