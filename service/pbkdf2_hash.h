// The stored form of a PBKDF2-HMAC-SHA256 password hash, the scheme of the
// builds without libsodium: "$pbkdf2-sha256$i=ROUNDS$SALT$HASH", salt and
// hash in padded base64. Any build that has SHA-256 can check it, so a users
// file made on Windows also serves on Linux.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vmx::service {

inline constexpr uint32_t kPbkdf2Rounds = 600000;
// More rounds than this would let a doctored users file tie up the service
// for minutes on one login.
inline constexpr uint32_t kPbkdf2MostRounds = 16 * kPbkdf2Rounds;
inline constexpr size_t kPbkdf2SaltBytes = 16;
inline constexpr size_t kPbkdf2HashBytes = 32;

struct Pbkdf2Hash {
  uint32_t rounds = kPbkdf2Rounds;
  std::string salt;  // raw bytes
  std::string hash;  // raw bytes
};

std::string FormatPbkdf2(const Pbkdf2Hash& hash);

// Nothing for another scheme, and for one that is malformed or weaker than
// this build makes: fewer than kPbkdf2Rounds rounds (or more than
// kPbkdf2MostRounds), a salt under 8 bytes, a hash under 16 or over 64 bytes.
std::optional<Pbkdf2Hash> ParsePbkdf2(std::string_view stored);

std::string Base64Encode(std::string_view bytes);
// Nothing unless `text` is padded base64 of the standard alphabet.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace vmx::service
