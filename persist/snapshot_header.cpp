#include "persist/snapshot_header.h"

#include <charconv>
#include <cstdio>

#include "lang/catalogue.h"

namespace vmx {
namespace {

constexpr std::string_view kSection = "[Snapshot]\r\n";
constexpr size_t kLongestName = 120;

// A header value stays on its line and short enough for the header's limit.
std::string HeaderValue(std::string_view text) {
  std::string value(text.substr(0, kLongestName));
  for (char& c : value)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return value;
}

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

template <class T>
bool Number(std::string_view text, T& value, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

uint64_t SnapshotDigest(std::string_view body) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : body) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string SnapshotHeaderText(int64_t taken, SnapshotReason reason, std::string_view program,
                               std::string_view board, std::string_view body) {
  std::string text(kSection);
  text += "Taken=" + UtcText(taken) + "\r\n";
  text += "Reason=" + std::string(ReasonWord(reason)) + "\r\n";
  text += "Program=" + HeaderValue(program) + "\r\n";
  text += "Board=" + HeaderValue(board) + "\r\n";
  text += "Length=" + std::to_string(body.size()) + "\r\n";
  text += "Digest=" + Hex(SnapshotDigest(body)) + "\r\n\r\n";
  return text;
}

std::string SnapshotFileName(int64_t taken, std::string_view body) {
  std::string stamp = UtcText(taken);  // 2024-06-21T12:00:00Z
  std::string name;
  for (const char c : stamp)
    if (c != '-' && c != ':') name += c;
  return name + "-" + Hex(SnapshotDigest(body)).substr(0, 8) + ".ini";
}

bool ParseSnapshotHeader(std::string_view text, SnapshotHeader& header) {
  if (!text.starts_with(kSection)) return false;
  const size_t end = text.find("\r\n\r\n", kSection.size() - 2);
  if (end == std::string_view::npos || end + 4 > kSnapshotHeaderLimit) return false;
  std::string_view lines = text.substr(kSection.size(), end + 2 - kSection.size());
  bool taken = false, reason = false, length = false, digest = false;
  while (!lines.empty()) {
    const size_t eol = lines.find("\r\n");
    const std::string_view line = lines.substr(0, eol);
    lines.remove_prefix(eol + 2);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
    if (key == "Taken") {
      const std::optional<int64_t> t = ParseUtcText(value);
      if (!t) return false;
      header.taken = *t;
      taken = true;
    } else if (key == "Reason") {
      const std::optional<SnapshotReason> r = ReasonOfWord(value);
      if (!r) return false;
      header.reason = *r;
      reason = true;
    } else if (key == "Program") {
      header.program = value;
    } else if (key == "Board") {
      header.board = value;
    } else if (key == "Length") {
      length = Number(value, header.length);
    } else if (key == "Digest") {
      digest = value.size() == 16 && Number(value, header.digest, 16);
    }
  }
  header.headerSize = end + 4;
  return taken && reason && length && digest;
}

std::optional<std::string_view> CheckedSnapshotBody(std::string_view text, std::string& problem) {
  SnapshotHeader header;
  if (!ParseSnapshotHeader(text, header)) {
    problem = LangText("SnapshotHeaderDamaged");
    return std::nullopt;
  }
  const std::string_view body = text.substr(header.headerSize);
  if (body.size() != header.length) {
    problem = LangText("SnapshotCutShort");
    return std::nullopt;
  }
  if (SnapshotDigest(body) != header.digest) {
    problem = LangText("SnapshotChanged");
    return std::nullopt;
  }
  return body;
}

}  // namespace vmx
