// The secrets seam of whichever build this is: libsodium on Linux, CNG on
// Windows (run under Wine). Both check PBKDF2-SHA256 hashes, so the known
// answers below (made with Python's hashlib) hold for both.
#include <gtest/gtest.h>

#include "service/pbkdf2_hash.h"
#include "service/secrets.h"

namespace vmx::service {
namespace {

TEST(Secrets, KnownPbkdf2HashesAreCheckedAndMalformedOnesRefused) {
  const auto hasher = MakePasswordHasher();
  ASSERT_TRUE(hasher);
  const std::string salt = "$pbkdf2-sha256$i=600000$TmFDbC1hbmQtcGVwcGVyIQ==$";
  const std::string hash = "1UCj5mRwM4U/M3KoNjTBwCAUmDn6fYm9nI+sqIA4lbM=";
  struct Case {
    std::string stored, password;
    bool knows, verifies;
  } cases[] = {
      {salt + hash, "tank keeper", true, true},
      {salt + hash, "", true, false},
      // 20 bytes after one more round: the length and rounds come from the line.
      {"$pbkdf2-sha256$i=600001$TmFDbC1hbmQtcGVwcGVyIQ==$58336m2Uk6zhNnfw+NVYiAUohog=",
       "tank keeper", true, true},
      {salt + "1UCj5mRwM4U/M3KoNjTBwCAUmDn6fYm9nI+sqIA4lbQ=", "tank keeper", true, false},
      {"$pbkdf2-sha256$i=599999$TmFDbC1hbmQtcGVwcGVyIQ==$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha256$i=99999999$TmFDbC1hbmQtcGVwcGVyIQ==$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha256$i=600000$TmFDbA==$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha256$i=600000$TmFDbC1hbmQtcGVwcGVyIQ$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha256$i=600000$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha256$i=$TmFDbC1hbmQtcGVwcGVyIQ==$" + hash, "tank keeper", false, false},
      {"$pbkdf2-sha1$i=600000$TmFDbC1hbmQtcGVwcGVyIQ==$" + hash, "tank keeper", false, false},
      {"$2y$10$abcdefghijklmnopqrstuu5s2v8.iXieOjg/.AySBTTZIIVFJeBui", "tank keeper", false, false},
      {"tank keeper", "tank keeper", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored + " / " + c.password);
    EXPECT_EQ(hasher->Knows(c.stored), c.knows);
    EXPECT_EQ(hasher->Verify(c.stored, c.password), c.verifies);
  }
}

TEST(Secrets, AHashIsSaltedAndChecksOnlyItsPassword) {
  const auto hasher = MakePasswordHasher();
  ASSERT_TRUE(hasher);
  const std::string first = hasher->Hash("Ä reef at night");
  const std::string second = hasher->Hash("Ä reef at night");
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(hasher->Knows(first));
  EXPECT_TRUE(hasher->Verify(first, "Ä reef at night"));
  EXPECT_FALSE(hasher->Verify(first, "A reef at night"));
}

TEST(Secrets, TokensAreLowerCaseHexAndNeverRepeat) {
  const auto random = MakeRandomSource();
  ASSERT_TRUE(random);
  const std::string a = random->Token(32), b = random->Token(32);
  EXPECT_EQ(a.size(), 64u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(a, b);
  EXPECT_TRUE(SameSecret(a, std::string(a)));
  EXPECT_FALSE(SameSecret(a, b));
  EXPECT_FALSE(SameSecret(a, a.substr(1)));
}

TEST(Secrets, Base64FollowsTheStandardAndRefusesWhatIsNot) {
  const std::pair<std::string, std::string> known[] = {{"", ""},
                                                       {"f", "Zg=="},
                                                       {"fo", "Zm8="},
                                                       {"foo", "Zm9v"},
                                                       {"foob", "Zm9vYg=="},
                                                       {"fooba", "Zm9vYmE="},
                                                       {"foobar", "Zm9vYmFy"},
                                                       {"\xff\xfe", "//4="}};
  for (const auto& [bytes, text] : known) {
    EXPECT_EQ(Base64Encode(bytes), text);
    EXPECT_EQ(Base64Decode(text), bytes);
  }
  for (const char* bad : {"Zg=", "Z===", "Zm9v!A==", "Zg==Zg==", "Zm=v", "Zm9v\n"})
    EXPECT_FALSE(Base64Decode(bad)) << bad;
}

}  // namespace
}  // namespace vmx::service
