// A board is held only while the service that marked it runs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "persist/held_boards.h"

namespace {

namespace fs = std::filesystem;

TEST(HeldBoardsTest, OnlyAMarkOfARunningProcessHoldsItsBoard) {
  char pattern[] = "/tmp/vmx-held-XXXXXX";
  const fs::path folder = fs::path(mkdtemp(pattern)) / "held";
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  {
    const vmx::BoardHold hold(folder, "vmx5_ttyUSB0");
    const vmx::BoardHold unsafe(folder, "../escape");
    EXPECT_TRUE(vmx::ServiceHolds("vmx5_ttyUSB0", {"/nonexistent", folder}));
    EXPECT_FALSE(fs::exists(folder.parent_path() / "escape"));
    const struct {
      const char* id;
      std::string mark;
    } others[] = {{"vmx5_gone", std::to_string(gone) + "\n"},
                  {"vmx5_garbage", "12ab\n"},
                  {"vmx5_empty", ""},
                  {"vmx5_negative", "-1\n"}};
    for (const auto& o : others) {
      std::ofstream(folder / o.id) << o.mark;
      EXPECT_FALSE(vmx::ServiceHolds(o.id, {folder})) << o.id;
    }
    EXPECT_FALSE(vmx::ServiceHolds("vmx5_none", {folder}));
    EXPECT_FALSE(vmx::ServiceHolds("../held/vmx5_ttyUSB0", {folder}));
  }
  EXPECT_FALSE(vmx::ServiceHolds("vmx5_ttyUSB0", {folder})) << "the mark goes with its holder";
  fs::remove_all(folder.parent_path());
}

}  // namespace
