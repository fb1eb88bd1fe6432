// The secrets seam on libsodium.
#include <sodium.h>

#include "service/secrets.h"

namespace vmx::service {
namespace {

bool Started() {
  static const bool started = sodium_init() >= 0;
  return started;
}

class SodiumHasher final : public PasswordHasher {
 public:
  std::string Hash(const std::string& password) override {
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
      return {};
    return out;
  }
  bool Verify(const std::string& stored, const std::string& password) override {
    if (!stored.starts_with("$argon2id$")) return false;
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
  }
};

class SodiumRandom final : public RandomSource {
 public:
  std::string Token(size_t bytes) override {
    std::string raw(bytes, '\0');
    randombytes_buf(raw.data(), raw.size());
    std::string hex(bytes * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(raw.data()),
                   raw.size());
    hex.pop_back();
    sodium_memzero(raw.data(), raw.size());
    return hex;
  }
};

}  // namespace

std::unique_ptr<PasswordHasher> MakePasswordHasher() {
  if (!Started()) return nullptr;
  return std::make_unique<SodiumHasher>();
}

std::unique_ptr<RandomSource> MakeRandomSource() {
  if (!Started()) return nullptr;
  return std::make_unique<SodiumRandom>();
}

bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace vmx::service
