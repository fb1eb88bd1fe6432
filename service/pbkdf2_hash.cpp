#include "service/pbkdf2_hash.h"

#include <charconv>

namespace vmx::service {
namespace {

constexpr std::string_view kScheme = "$pbkdf2-sha256$i=";
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c) {
  const size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t at = 0; at < bytes.size(); at += 3) {
    const size_t left = bytes.size() - at;
    uint32_t group = static_cast<uint8_t>(bytes[at]) << 16;
    if (left > 1) group |= static_cast<uint8_t>(bytes[at + 1]) << 8;
    if (left > 2) group |= static_cast<uint8_t>(bytes[at + 2]);
    out += kAlphabet[group >> 18];
    out += kAlphabet[(group >> 12) & 63];
    out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
    out += left > 2 ? kAlphabet[group & 63] : '=';
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (size_t at = 0; at < text.size(); at += 4) {
    const bool last = at + 4 == text.size();
    const size_t pad = last ? (text[at + 3] == '=') + (text[at + 2] == '=') : 0;
    if (pad == 1 && text[at + 2] == '=') return std::nullopt;  // "x=y=" is no padding
    uint32_t group = 0;
    for (size_t i = 0; i < 4; ++i) {
      const int value = i >= 4 - pad ? 0 : Sextet(text[at + i]);
      if (value < 0) return std::nullopt;
      group = group << 6 | static_cast<uint32_t>(value);
    }
    out += static_cast<char>(group >> 16);
    if (pad < 2) out += static_cast<char>((group >> 8) & 0xFF);
    if (pad < 1) out += static_cast<char>(group & 0xFF);
  }
  return out;
}

std::string FormatPbkdf2(const Pbkdf2Hash& hash) {
  return std::string(kScheme) + std::to_string(hash.rounds) + "$" + Base64Encode(hash.salt) + "$" +
         Base64Encode(hash.hash);
}

std::optional<Pbkdf2Hash> ParsePbkdf2(std::string_view stored) {
  if (!stored.starts_with(kScheme)) return std::nullopt;
  stored.remove_prefix(kScheme.size());
  Pbkdf2Hash out;
  const auto [end, error] =
      std::from_chars(stored.data(), stored.data() + stored.size(), out.rounds);
  if (error != std::errc() || end == stored.data() || *end != '$') return std::nullopt;
  if (out.rounds < kPbkdf2Rounds || out.rounds > kPbkdf2MostRounds) return std::nullopt;
  stored.remove_prefix(static_cast<size_t>(end - stored.data()) + 1);
  const size_t dollar = stored.find('$');
  if (dollar == std::string_view::npos) return std::nullopt;
  auto salt = Base64Decode(stored.substr(0, dollar));
  auto hash = Base64Decode(stored.substr(dollar + 1));
  if (!salt || !hash || salt->size() < 8 || hash->size() < 16 || hash->size() > 64)
    return std::nullopt;
  out.salt = std::move(*salt);
  out.hash = std::move(*hash);
  return out;
}

}  // namespace vmx::service
