// Runs that another user's limits or files shape: a user with a process
// limit, and root's runs in a user's home (as "sudo -E" gives them). Setting
// them up needs root.
#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <json/value.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/test_files.h"

namespace {

const char kNeedsRoot[] = "needs root, to run the program as another user";
// Wine refuses to run a user's programs in a prefix that is not theirs.
const char kNoProcessLimit[] =
    "Windows has no process limit (ulimit -u), and Wine runs no program as another user";
const char kNoRootInAUsersHome[] =
    "Wine runs no program as another user, and a Windows program's state is under LOCALAPPDATA";

// A user and group that no other process has: a process limit counts every
// process of the user, and shards of the suite run side by side.
uid_t UnusedUser() { return static_cast<uid_t>(3000000 + getpid()); }

bool Locked(const std::string& state_file, const std::string& device) {
  const Json::Value world = ParseJson(ReadFile(state_file));
  for (const Json::Value& each : world["local"]["devices"]) {
    if (each["id"].asString() == device)
      return each["locked"].asBool();
  }
  return false;
}

// However few threads the user may have, a change ends soon: either done
// and kept, or refused with the world unchanged. A request needs two threads
// of the library; without them it is not started.
TEST(ProcessLimit, AChangeIsKeptOrRefusedWhole) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoProcessLimit;
  if (geteuid() != 0)
    GTEST_SKIP() << kNeedsRoot;
  const uid_t user = UnusedUser();
  TempDir dir;
  ASSERT_EQ(0, chown(dir.path().c_str(), user, user));
  ProgramRun unlimited;
  unlimited.state_file = dir.File("state.json");
  unlimited.user = user;
  const std::vector<std::string> unlock = {"unlock-device", "41-usb-1-3"};
  ASSERT_EQ("Success\n", RunProgram(unlock, unlimited).out);
  const std::string world = ReadFile(unlimited.state_file);
  // A checker, an emulator or a sanitizer's runtime may take threads of its
  // own: then only the outcome's wholeness is checked.
  const bool exact = !ProgramIsWrapped() && !ProgramIsSanitized();
  // The leak checker needs a thread at exit, which the limit may not leave.
  const char* asan_options = getenv("ASAN_OPTIONS");
  const std::string no_leak_check =
      std::string(asan_options ? asan_options : "") + ":detect_leaks=0";
  struct Case {
    long limit;
    std::string out;  // when exact
  } cases[] = {
      {1, "ERROR: Can't execute command.\n"},
      {2, "ERROR: Can't execute command.\n"},
      {3, "Success\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    ProgramRun run = unlimited;
    run.process_limit = c.limit;
    run.environment = {{"ASAN_OPTIONS", no_leak_check}};
    // Waiting for an answer that never comes would take a minute.
    run.timeout_ms = 20000;
    ProgramResult result = RunProgram({"lock-device", "41-usb-1-3"}, run);
    // Killed at the deadline: it hung. An emulator without a thread for
    // itself may abort before the program starts.
    EXPECT_NE(SIGKILL, result.signal) << result.out;
    if (exact) {
      EXPECT_EQ(c.out, result.out);
      EXPECT_EQ(c.out == "Success\n" ? 0 : 1, result.exit_code);
      EXPECT_EQ("", result.err);
    }
    if (result.out == "Success\n") {
      EXPECT_EQ(0, result.exit_code);
      EXPECT_TRUE(Locked(run.state_file, "usb-1-3"));
      ASSERT_EQ("Success\n", RunProgram(unlock, unlimited).out);
    } else {
      EXPECT_NE(0, result.exit_code);
      EXPECT_EQ(world, ReadFile(run.state_file));
    }
  }
}

uid_t g_owner;
bool g_all_owned;

int CheckOwner(const char*, const struct stat* info, int, struct FTW*) {
  g_all_owned = g_all_owned && info->st_uid == g_owner && info->st_gid == g_owner;
  return 0;
}

bool EverythingOwnedBy(const std::string& path, uid_t user) {
  g_owner = user;
  g_all_owned = true;
  return nftw(path.c_str(), CheckOwner, 16, FTW_PHYS) == 0 && g_all_owned;
}

// What root's run makes in a user's home is the user's: the folders, the
// state file and its lock file. The user's next change then succeeds.
TEST(RootInAUsersHome, LeavesEverythingTheUsers) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoRootInAUsersHome;
  if (geteuid() != 0)
    GTEST_SKIP() << kNeedsRoot;
  const uid_t user = UnusedUser();
  TempDir home;
  ASSERT_EQ(0, chown(home.path().c_str(), user, user));
  const std::string state = home.File(".local/state/wirenest/standin-world.json");
  ProgramRun as_root;
  as_root.unset_environment = {"WIRENEST_STATE", "XDG_STATE_HOME"};
  as_root.environment = {{"HOME", home.path()}};
  ProgramRun as_user = as_root;
  as_user.user = user;

  ASSERT_EQ("Success\n", RunProgram({"lock-device", "41-usb-1-3"}, as_root).out);
  EXPECT_TRUE(Locked(state, "usb-1-3"));
  EXPECT_EQ(0600u, FileMode(state + ".lock"));
  EXPECT_TRUE(EverythingOwnedBy(home.path(), user));
  EXPECT_EQ("Success\n", RunProgram({"unlock-device", "41-usb-1-3"}, as_user).out);
  EXPECT_FALSE(Locked(state, "usb-1-3"));

  // The user's state file, whose lock file has gone.
  ASSERT_EQ(0, unlink((state + ".lock").c_str()));
  ASSERT_EQ("Success\n", RunProgram({"lock-device", "41-usb-1-3"}, as_root).out);
  EXPECT_TRUE(EverythingOwnedBy(home.path(), user));
  EXPECT_EQ("Success\n", RunProgram({"unlock-device", "41-usb-1-3"}, as_user).out);
  EXPECT_FALSE(Locked(state, "usb-1-3"));
}

}  // namespace
