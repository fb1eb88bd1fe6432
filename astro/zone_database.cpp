#include "astro/zone_database.h"

#include <cstdlib>
#include <fstream>

#include "astro/fixed_time_zone.h"
#include "astro/posix_time_zone.h"
#include "platform/file_path.h"

namespace vmx {
namespace {

constexpr std::streamsize kMaxZoneFile = 1 << 20;

std::optional<std::string> ReadSmallFile(const std::string& path) {
  std::ifstream in(PathOfText(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<size_t>(kMaxZoneFile), '\0');
  in.read(bytes.data(), kMaxZoneFile);
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

bool ZoneNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
         c == '_' || c == '-' || c == '+';
}

}  // namespace

std::optional<std::string> ZoneFileFooter(const std::string& path) {
  const auto bytes = ReadSmallFile(path);
  if (!bytes) return std::nullopt;
  return TzifFooter(*bytes);
}

std::optional<std::string> ZoneFilePath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (name.front() == '/') return std::string(name);
  if (name.find("..") != std::string_view::npos) return std::nullopt;
  const char* dir = std::getenv("TZDIR");
  std::string path = dir && *dir ? dir : "/usr/share/zoneinfo";
  return path + "/" + std::string(name);
}

std::shared_ptr<const TimeZone> LoadNamedTimeZone(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.size() > 64) return nullptr;
  for (const char c : name)
    if (!ZoneNameCharacter(c)) return nullptr;
  const auto path = ZoneFilePath(name);
  const auto footer = path ? ZoneFileFooter(*path) : std::nullopt;
  const auto info = footer ? ParsePosixTimeZone(*footer) : std::nullopt;
  if (!info) return nullptr;
  return std::make_shared<const FixedTimeZone>(*info);
}

}  // namespace vmx
