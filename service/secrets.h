// Password hashes and random tokens, behind a seam: libsodium here (Argon2id,
// its "$argon2id$..." string), Windows' CNG where libsodium is not to be had
// (PBKDF2-SHA256, service/pbkdf2_hash.h), which this build checks as well. A
// stored hash names its scheme, so a users file says which hash it holds and
// an implementation refuses one it does not know.
#pragma once

#include <memory>
#include <string>

namespace vmx::service {

class PasswordHasher {
 public:
  virtual ~PasswordHasher() = default;
  // The stored form of `password`, its scheme first; empty on failure.
  virtual std::string Hash(const std::string& password) = 0;
  // Whether `password` is the one `stored` was made from; false for a scheme it does not know.
  virtual bool Verify(const std::string& stored, const std::string& password) = 0;
  // Whether Verify can check `stored`: a scheme this build has, well formed.
  virtual bool Knows(const std::string& stored) const = 0;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // `bytes` random bytes as lower-case hexadecimal.
  virtual std::string Token(size_t bytes) = 0;
};

// The platform's implementations; nullptr when the library cannot start.
std::unique_ptr<PasswordHasher> MakePasswordHasher();
std::unique_ptr<RandomSource> MakeRandomSource();

// Compares in time that does not depend on where the texts differ.
bool SameSecret(const std::string& a, const std::string& b);

}  // namespace vmx::service
