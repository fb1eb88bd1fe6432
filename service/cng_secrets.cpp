// The secrets seam on Windows' own cryptography (CNG): the system's random
// numbers, and PBKDF2-HMAC-SHA256 for passwords, as libsodium is not to be
// had for this build.
#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include "service/pbkdf2_hash.h"
#include "service/secrets.h"

namespace vmx::service {
namespace {

bool Random(std::string& bytes) {
  return BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()),
                                          static_cast<ULONG>(bytes.size()),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

void Wipe(std::string& secret) {
  ::SecureZeroMemory(secret.data(), secret.size());
}

// `length` bytes derived from `password`; empty when CNG refuses.
std::string Derive(const std::string& password, const std::string& salt, uint32_t rounds,
                   size_t length) {
  BCRYPT_ALG_HANDLE hmac = nullptr;
  if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&hmac, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    BCRYPT_ALG_HANDLE_HMAC_FLAG)))
    return {};
  // CNG takes the buffers without const; it writes only the key.
  std::string key(length, '\0');
  std::string pass = password, salted = salt;
  const bool derived = BCRYPT_SUCCESS(::BCryptDeriveKeyPBKDF2(
      hmac, reinterpret_cast<PUCHAR>(pass.data()), static_cast<ULONG>(pass.size()),
      reinterpret_cast<PUCHAR>(salted.data()), static_cast<ULONG>(salted.size()), rounds,
      reinterpret_cast<PUCHAR>(key.data()), static_cast<ULONG>(key.size()), 0));
  ::BCryptCloseAlgorithmProvider(hmac, 0);
  Wipe(pass);
  if (!derived) key.clear();
  return key;
}

class CngHasher final : public PasswordHasher {
 public:
  std::string Hash(const std::string& password) override {
    Pbkdf2Hash made;
    made.salt.assign(kPbkdf2SaltBytes, '\0');
    if (!Random(made.salt)) return {};
    made.hash = Derive(password, made.salt, made.rounds, kPbkdf2HashBytes);
    if (made.hash.empty()) return {};
    return FormatPbkdf2(made);
  }
  bool Verify(const std::string& stored, const std::string& password) override {
    const auto wanted = ParsePbkdf2(stored);
    if (!wanted) return false;
    std::string got = Derive(password, wanted->salt, wanted->rounds, wanted->hash.size());
    const bool same = !got.empty() && SameSecret(got, wanted->hash);
    Wipe(got);
    return same;
  }
  bool Knows(const std::string& stored) const override { return ParsePbkdf2(stored).has_value(); }
};

class CngRandom final : public RandomSource {
 public:
  std::string Token(size_t bytes) override {
    std::string raw(bytes, '\0');
    if (!Random(raw)) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes * 2);
    for (const char c : raw) {
      hex += kHex[static_cast<uint8_t>(c) >> 4];
      hex += kHex[static_cast<uint8_t>(c) & 15];
    }
    Wipe(raw);
    return hex;
  }
};

}  // namespace

std::unique_ptr<PasswordHasher> MakePasswordHasher() {
  return std::make_unique<CngHasher>();
}

std::unique_ptr<RandomSource> MakeRandomSource() {
  // A system that cannot give random numbers must not hand out tokens.
  std::string probe(16, '\0');
  if (!Random(probe)) return nullptr;
  return std::make_unique<CngRandom>();
}

bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  // Every byte is looked at, wherever the first difference lies.
  volatile unsigned char differ = 0;
  for (size_t i = 0; i < a.size(); ++i) differ = differ | (a[i] ^ b[i]);
  return differ == 0;
}

}  // namespace vmx::service
