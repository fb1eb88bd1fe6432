#include "astro/posix_time_zone.h"

#include <cctype>
#include <cstdint>

namespace vmx {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}
  bool AtEnd() const { return s_.empty(); }
  bool Accept(char c) {
    if (s_.empty() || s_.front() != c) return false;
    s_.remove_prefix(1);
    return true;
  }
  char Peek() const { return s_.empty() ? '\0' : s_.front(); }

  // "<+0530>" or at least three letters.
  bool Name() {
    if (Accept('<')) {
      const size_t end = s_.find('>');
      if (end == std::string_view::npos || end < 3) return false;
      s_.remove_prefix(end + 1);
      return true;
    }
    size_t n = 0;
    while (n < s_.size() && std::isalpha(static_cast<unsigned char>(s_[n]))) ++n;
    if (n < 3) return false;
    s_.remove_prefix(n);
    return true;
  }

  bool Number(int maxDigits, int& out) {
    int digits = 0;
    out = 0;
    while (digits < maxDigits && std::isdigit(static_cast<unsigned char>(Peek()))) {
      out = out * 10 + (s_.front() - '0');
      s_.remove_prefix(1);
      ++digits;
    }
    return digits > 0;
  }

  // [+-]hh[:mm[:ss]] in seconds.
  bool Duration(int& seconds) {
    const bool negative = Accept('-');
    if (!negative) Accept('+');
    int h = 0;
    int m = 0;
    int sec = 0;
    if (!Number(3, h) || h > 167) return false;
    if (Accept(':')) {
      if (!Number(2, m) || m > 59) return false;
      if (Accept(':') && (!Number(2, sec) || sec > 59)) return false;
    }
    seconds = (h * 60 + m) * 60 + sec;
    if (negative) seconds = -seconds;
    return true;
  }

  // "Mm.w.d[/time]"; other rule forms have no month/week equivalent.
  bool Rule(TimeZoneRule& rule) {
    if (!Accept('M')) return false;
    if (!Number(2, rule.month) || rule.month < 1 || rule.month > 12) return false;
    if (!Accept('.') || !Number(1, rule.occurrence) || rule.occurrence < 1 || rule.occurrence > 5)
      return false;
    if (!Accept('.') || !Number(1, rule.dayOfWeek) || rule.dayOfWeek > 6) return false;
    int time = 2 * 3600;
    if (Accept('/') && !Duration(time)) return false;
    if (time < 0 || time >= 24 * 3600) return false;
    rule.hour = time / 3600;
    rule.minute = time / 60 % 60;
    rule.second = time % 60;
    return true;
  }

 private:
  std::string_view s_;
};

uint32_t BigEndian32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

constexpr size_t kHeaderSize = 44;

// Size of the data block after a header; timeSize 4 (first block) or 8.
std::optional<uint64_t> DataBlockSize(std::string_view b, size_t header, uint64_t timeSize) {
  if (b.size() < header + kHeaderSize || b.substr(header, 4) != "TZif") return std::nullopt;
  const uint64_t isutcnt = BigEndian32(b, header + 20);
  const uint64_t isstdcnt = BigEndian32(b, header + 24);
  const uint64_t leapcnt = BigEndian32(b, header + 28);
  const uint64_t timecnt = BigEndian32(b, header + 32);
  const uint64_t typecnt = BigEndian32(b, header + 36);
  const uint64_t charcnt = BigEndian32(b, header + 40);
  return timecnt * (timeSize + 1) + typecnt * 6 + charcnt + leapcnt * (timeSize + 4) + isstdcnt +
         isutcnt;
}

}  // namespace

std::optional<TimeZoneInfo> ParsePosixTimeZone(std::string_view text) {
  Reader r(text);
  int stdOffset = 0;
  if (!r.Name() || !r.Duration(stdOffset)) return std::nullopt;
  TimeZoneInfo zone;
  if (stdOffset % 60 != 0) return std::nullopt;
  zone.bias = stdOffset / 60;  // POSIX counts west positive, as the bias does
  if (r.AtEnd()) return IsValidTimeZoneInfo(zone) ? std::optional(zone) : std::nullopt;

  if (!r.Name()) return std::nullopt;
  int dstOffset = stdOffset - 3600;
  if (r.Peek() != ',' && !r.Duration(dstOffset)) return std::nullopt;
  if (dstOffset % 60 != 0) return std::nullopt;
  if (!r.Accept(',') || !r.Rule(zone.daylightDate) || !r.Accept(',') ||
      !r.Rule(zone.standardDate) || !r.AtEnd())
    return std::nullopt;
  zone.daylightBias = (dstOffset - stdOffset) / 60;
  return IsValidTimeZoneInfo(zone) ? std::optional(zone) : std::nullopt;
}

std::optional<std::string> TzifFooter(std::string_view b) {
  const auto first = DataBlockSize(b, 0, 4);
  if (!first || b.size() < 5 || b[4] < '2') return std::nullopt;
  const uint64_t second = kHeaderSize + *first;
  if (second > b.size()) return std::nullopt;
  const auto block = DataBlockSize(b, second, 8);
  if (!block) return std::nullopt;
  const uint64_t footer = second + kHeaderSize + *block;
  if (footer >= b.size() || b[footer] != '\n') return std::nullopt;
  const size_t end = b.find('\n', footer + 1);
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(b.substr(footer + 1, end - footer - 1));
}

}  // namespace vmx
