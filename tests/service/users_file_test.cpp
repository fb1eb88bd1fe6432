// The users file through the build's own file seam: on Linux, and on Windows
// under Wine, where it has no file modes to lean on.
#include <gtest/gtest.h>

#include <filesystem>

#include "service/service_platform.h"
#include "service/users_file.h"
#include "tests/plain_files.h"
#include "tests/test_system.h"

namespace vmx::service {
namespace {

class UsersFileTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = (vmx::testing::MakeTempFolder("users") / "users.txt").string(); }
  void TearDown() override {
    std::filesystem::remove_all(std::filesystem::path(path_).parent_path());
  }
  // Written plainly, then made the owner's alone, as a keeper's editor would leave it.
  void Write(const std::string& text) {
    vmx::testing::WriteText(path_, text);
    ASSERT_EQ(RestrictToOwner(path_), "");
  }
  std::string path_;
};

TEST_F(UsersFileTest, AddingAUserKeepsTheOthersAndReplacesOnlyThatName) {
  std::string problem;
  ASSERT_TRUE(StoreUser(path_, "keeper", "$h$1", problem)) << problem;
  ASSERT_TRUE(StoreUser(path_, "keeper2", "$h$2", problem)) << problem;
  ASSERT_TRUE(StoreUser(path_, "keeper", "$h$3", problem)) << problem;
  EXPECT_EQ(vmx::testing::ReadAll(path_), "keeper2:$h$2\nkeeper:$h$3\n");
  const auto users = LoadUsers(path_, problem);
  ASSERT_TRUE(users) << problem;
  EXPECT_EQ(*users, (Users{{"keeper", "$h$3"}, {"keeper2", "$h$2"}}));
}

TEST_F(UsersFileTest, LinesAreReadAsWrittenOnEitherSystemAndBadOnesRefuseTheFile) {
  const struct {
    std::string text;
    std::optional<Users> users;
  } cases[] = {
      {"# the tank's keepers\r\nkeeper:$h$1\r\n\r\nnight:x:y\r\n",
       Users{{"keeper", "$h$1"}, {"night", "x:y"}}},
      {"keeper:$h$1", Users{{"keeper", "$h$1"}}},
      {"", Users{}},
      {"keeper:$h$1\n:$h$2\n", std::nullopt},
      {"keeper\n", std::nullopt},
      {"keeper:\n", std::nullopt},
  };
  for (const auto& c : cases) {
    Write(c.text);
    std::string problem;
    EXPECT_EQ(LoadUsers(path_, problem), c.users) << c.text;
    EXPECT_EQ(problem.empty(), c.users.has_value()) << problem;
  }
  std::string problem;
  EXPECT_FALSE(LoadUsers(path_ + ".missing", problem));
  EXPECT_NE(problem.find(".missing"), std::string::npos);
}

TEST_F(UsersFileTest, AUserWhoseHashThisBuildCannotCheckIsLeftOutAndNamed) {
  const auto hasher = MakePasswordHasher();
  ASSERT_TRUE(hasher);
  const std::string made = hasher->Hash("reef");
  std::vector<std::string> refused;
  const Users kept = KnownUsers(
      {{"keeper", made}, {"old", "$2y$10$abcdefghijklmnopqrstuu5s2v8.iXieOjg"}, {"odd", "plain"}},
      *hasher, [&](const std::string& name, const std::string& scheme) {
        refused.push_back(name + " " + scheme);
      });
  EXPECT_EQ(kept, (Users{{"keeper", made}}));
  EXPECT_EQ(refused, (std::vector<std::string>{"odd ?", "old 2y"}));
}

}  // namespace
}  // namespace vmx::service
