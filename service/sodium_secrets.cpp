// The secrets seam on libsodium; the PBKDF2 hashes of the Windows build are
// checked with OpenSSL, so a users file made there serves here too.
#include <openssl/evp.h>
#include <sodium.h>

#include "service/pbkdf2_hash.h"
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
    if (const auto pbkdf2 = ParsePbkdf2(stored)) return VerifyPbkdf2(*pbkdf2, password);
    if (!stored.starts_with("$argon2id$")) return false;
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
  }
  bool Knows(const std::string& stored) const override {
    return stored.starts_with("$argon2id$") || ParsePbkdf2(stored).has_value();
  }

 private:
  static bool VerifyPbkdf2(const Pbkdf2Hash& wanted, const std::string& password) {
    std::string got(wanted.hash.size(), '\0');
    const bool derived =
        PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(wanted.salt.data()),
                          static_cast<int>(wanted.salt.size()), static_cast<int>(wanted.rounds),
                          EVP_sha256(), static_cast<int>(got.size()),
                          reinterpret_cast<unsigned char*>(got.data())) == 1;
    const bool same = derived && SameSecret(got, wanted.hash);
    sodium_memzero(got.data(), got.size());
    return same;
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
