#include "wirenest/standin/state_file.h"

#include <dirent.h>
#include <errno.h>
#include <stdlib.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/lock_holder.h"
#include "tests/support/test_files.h"
#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/files.h"
#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_actions.h"
#include "wirenest/standin/world_json.h"

namespace standin {
namespace {

using std::chrono::milliseconds;

// Long enough for any change of these tests but those that wait on purpose.
const milliseconds kPatience(10000);

#ifdef _WIN32
const char kNoSymbolicLinks[] =
    "symbolic links: Windows makes them only with a privilege, and Wine's are no reparse points";
#endif

bool Keep(World*) { return true; }

// As another process or an older version would have left it.
void WriteWorld(const std::string& path, const World& world) {
  WriteFile(path, StyledJson(WorldToJson(world)));
}

TEST(StateFileTest, KeepsTheWorldPrivatelyWithoutTheAccountPassword) {
  TempDir dir;
  const std::string path = dir.File("new/state/world.json");
  World world = DemoWorld();
  world.proxy["proxy_auth"]["proxy_passwd"] = "proxy-pass";
  std::string error;
  World saved;
  ASSERT_TRUE(ChangeState(path, world, Keep, kPatience, &saved, &error)) << error;
#ifndef _WIN32
  EXPECT_EQ(0600u, FileMode(path));
  EXPECT_EQ(0700u, FileMode(dir.File("new/state")));
  EXPECT_EQ(0700u, FileMode(dir.File("new")));
#endif
  std::string text = ReadFile(path);
  EXPECT_EQ(std::string::npos, text.find("secret"));
  EXPECT_NE(std::string::npos, text.find("proxy-pass"));

  World loaded;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &loaded, &error)) << error;
  EXPECT_EQ(WorldToJson(world), WorldToJson(loaded));
  EXPECT_TRUE(PasswordMatches(loaded.account->password, "secret"));
}

TEST(StateFileTest, TellsAMissingFileFromABadOne) {
  TempDir dir;
  World world;
  std::string error;
  EXPECT_EQ(StateLoad::kMissing, LoadState(dir.File("none.json"), &world, &error));
  WriteFile(dir.File("broken.json"), "{\"local\":");
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.File("broken.json"), &world, &error));
  EXPECT_EQ(0u, error.find("invalid JSON")) << error;
  WriteFile(dir.File("typed.json"), R"({"remote": [{"id_comp": 42}]})");
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.File("typed.json"), &world, &error));
  EXPECT_EQ("world.remote[0].id_comp must be a string", error);
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.path(), &world, &error));
}

#ifdef _WIN32
TEST(StateFileTest, TheDefaultPathFollowsLocalAppData) {
  ScopedEnvironment environment;
  const struct {
    const char* local;  // null: unset
    const char* path;
  } cases[] = {
      {"C:\\Users\\someone\\AppData\\Local",
       "C:\\Users\\someone\\AppData\\Local\\wirenest\\standin-world.json"},
      {"D:/local", "D:/local\\wirenest\\standin-world.json"},
      {"\\\\server\\share", "\\\\server\\share\\wirenest\\standin-world.json"},
      {"relative\\ignored", ""},
      {"C:drive-relative", ""},
      {"\\rooted-on-the-current-drive", ""},
      {nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.local ? c.local : "unset");
    if (c.local)
      environment.Set("LOCALAPPDATA", c.local);
    else
      environment.Unset("LOCALAPPDATA");
    EXPECT_EQ(c.path, DefaultStatePath());
  }
}
#else
TEST(StateFileTest, TheDefaultPathFollowsXdgStateHome) {
  ScopedEnvironment environment;
  environment.Set("XDG_STATE_HOME", "/xdg/state");
  environment.Set("HOME", "/home/someone");
  EXPECT_EQ("/xdg/state/wirenest/standin-world.json", DefaultStatePath());
  environment.Set("XDG_STATE_HOME", "relative/ignored");
  EXPECT_EQ("/home/someone/.local/state/wirenest/standin-world.json", DefaultStatePath());
  environment.Unset("XDG_STATE_HOME");
  environment.Unset("HOME");
  EXPECT_EQ("", DefaultStatePath());
  environment.Set("HOME", "relhome");
  EXPECT_EQ("", DefaultStatePath());
}
#endif

std::function<bool(World*)> Rename(const std::string& name);

// JSON that is no world of the stand-in, named by mistake or through a
// planted link, is refused and left as it was by a change.
TEST(StateFileTest, RefusesJsonThatIsNoWorldAndLeavesIt) {
  TempDir dir;
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {R"({"database": {"password": "hunter2"}, "port": 5432})",
       "is not a world of the stand-in: it has the member \"database\""},
      {R"({"local": {"id_comp": "41"}, "name": "x"})",
       "is not a world of the stand-in: it has the member \"name\""},
      {"{}", "is not a world of the stand-in: it has none of a world's members"},
      {"[1]", "world must be an object"},
      // What follows a NUL would be lost with the rewrite.
      {std::string("{\"version\":\"x\"}\0TAIL", 21),
       "invalid JSON: a NUL byte at line 1, column 16"},
      // A login would take minutes.
      {R"({"account": {"email": "a@b.c", "password_iterations": 2147483647}})",
       "world.account.password_iterations must be a number from 0 to 20000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.c_str());
    const std::string path = dir.File("package.json");
    WriteFile(path, c.text);
    std::vector<std::string> names = {path};
#ifndef _WIN32
    const std::string link = dir.File("link.json");
    unlink(link.c_str());
    ASSERT_EQ(0, symlink(path.c_str(), link.c_str()));
    names.push_back(link);
#endif
    World world;
    std::string error;
    EXPECT_EQ(StateLoad::kBad, LoadState(path, &world, &error));
    EXPECT_EQ(c.error, error);
    for (const std::string& named : names) {
      EXPECT_FALSE(ChangeState(named, DemoWorld(), Rename("x"), kPatience, &world, &error));
      EXPECT_EQ(c.error, error);
      EXPECT_EQ(c.text, ReadFile(path));
    }
  }
}

// The names in a directory, "." and ".." left out.
std::set<std::string> DirectoryEntries(const std::string& path) {
  std::set<std::string> names;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..")
        names.insert(name);
    }
    closedir(dir);
  }
  return names;
}

std::function<bool(World*)> Rename(const std::string& name) {
  return [name](World* world) {
    world->local->comp_name = name;
    return true;
  };
}

#ifndef _WIN32
// As the user `uid`, of the group of that number alone.
bool BecomeUser(uid_t uid) { return setgid(uid) == 0 && setuid(uid) == 0; }

// 0 when, in a child that `prepare` made ready, a change of `path` is
// refused with `expected`; 2 when the child could not be made ready.
int RefusedInChild(const std::function<bool()>& prepare, const std::string& path,
                   const std::string& expected) {
  return RunInChild([&] {
    if (!prepare())
      return 2;
    World world;
    std::string error;
    if (ChangeState(path, DemoWorld(), Rename("lost"), kPatience, &world, &error))
      return 1;
    if (error == expected)
      return 0;
    fprintf(stderr, "refused with: %s\n", error.c_str());
    return 1;
  });
}
#endif

TEST(StateFileTest, RefusesWhatIsNotARegularFileOfSaneSizeWithoutWaiting) {
  TempDir dir;
#ifndef _WIN32
  ASSERT_EQ(0, mkfifo(dir.File("fifo").c_str(), 0600));
  ASSERT_EQ(0, symlink(dir.File("fifo").c_str(), dir.File("link-to-fifo").c_str()));
#endif
  ASSERT_TRUE(MakeDirectory(dir.File("directory")));
  ASSERT_EQ(
      0, truncate((WriteFile(dir.File("huge"), "{}"), dir.File("huge")).c_str(), (64 << 20) + 1));
  const struct {
    std::string path;
    const char* error;
  } cases[] = {
#ifndef _WIN32
      {dir.File("fifo"), "is not a regular file"},
      {dir.File("link-to-fifo"), "is not a regular file"},
      {"/dev/zero", "is not a regular file"},
#endif
      {dir.File("directory"), "is not a regular file"},
      {dir.File("huge"), "cannot be read: File too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    World world;
    std::string error;
    EXPECT_EQ(StateLoad::kBad, LoadState(c.path, &world, &error));
    EXPECT_EQ(c.error, error);
    EXPECT_FALSE(ChangeState(c.path, DemoWorld(), Rename("x"), kPatience, &world, &error));
    EXPECT_EQ(c.error, error);
  }
#ifdef _WIN32
  // The device NUL: its lock, NUL.lock, is that device again, where a change
  // ends.
  World world;
  std::string error;
  EXPECT_EQ(StateLoad::kBad, LoadState("NUL", &world, &error));
  EXPECT_EQ("is not a regular file", error);
  EXPECT_FALSE(ChangeState("NUL", DemoWorld(), Rename("x"), kPatience, &world, &error));
  EXPECT_EQ(0u, error.find("cannot be locked: ")) << error;
#endif
}

TEST(StateFileTest, AChangeGoesToTheTargetOfASymbolicLinkAndTheLinkStays) {
#ifdef _WIN32
  GTEST_SKIP() << kNoSymbolicLinks;
#else
  TempDir dir;
  ASSERT_EQ(0, mkdir(dir.File("real").c_str(), 0700));
  const struct {
    const char* link;
    const char* points_to;
    const char* target;  // what the change is to reach
  } cases[] = {
      {"absolute", nullptr, "real/absolute.json"},
      {"relative", "real/relative.json", "real/relative.json"},
      {"chain", "relative", "real/relative.json"},
      {"real/inside", "../real/inside.json", "real/inside.json"},
      {"dangling", "real/not-yet/made.json", "real/not-yet/made.json"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    const std::string link = dir.File(c.link);
    const std::string points_to = c.points_to ? c.points_to : dir.File(c.target);
    ASSERT_EQ(0, symlink(points_to.c_str(), link.c_str()));
    std::string error;
    World world;
    ASSERT_TRUE(ChangeState(link, DemoWorld(), Rename(c.link), kPatience, &world, &error)) << error;
    struct stat info;
    ASSERT_EQ(0, lstat(link.c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(StateLoad::kLoaded, LoadState(dir.File(c.target), &world, &error)) << error;
    EXPECT_EQ(c.link, world.local->comp_name);
  }
  EXPECT_EQ((std::set<std::string>{"absolute", "chain", "dangling", "real", "relative"}),
            DirectoryEntries(dir.path()));
#endif
}

TEST(StateFileTest, AChangeAppliesToTheWorldOnDiskNotToTheOneReadBefore) {
  TempDir dir;
  const std::string path = dir.File("world.json");
  World fresh = DemoWorld();
  fresh.local->comp_name = "fresh";
  World world;
  std::string error;
  ASSERT_TRUE(ChangeState(
      path, fresh, [](World*) { return false; }, kPatience, &world, &error));
  EXPECT_EQ("fresh", world.local->comp_name);
  EXPECT_FALSE(FileExists(path));

  ASSERT_TRUE(ChangeState(path, fresh, Rename("first"), kPatience, &world, &error)) << error;
  World elsewhere = world;
  elsewhere.local->devices.at(0).description = "from another process";
  WriteWorld(path, elsewhere);
  ASSERT_TRUE(ChangeState(path, fresh, Rename("second"), kPatience, &world, &error)) << error;
  EXPECT_EQ("second", world.local->comp_name);
  EXPECT_EQ("from another process", world.local->devices.at(0).description);
  World loaded;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &loaded, &error));
  EXPECT_EQ(WorldToJson(world), WorldToJson(loaded));
}

// Each save writes a new file and renames it over its own name: two names
// of one file part at the first save, each keeping what it had and its own
// change.
TEST(StateFileTest, TwoNamesOfOneFilePartAtTheFirstSave) {
  TempDir dir;
  const std::string first = dir.File("first.json");
  const std::string second = dir.File("second.json");
  World world;
  std::string error;
  auto describe = [](World* changed) {
    changed->local->devices.at(0).description = "before the second name";
    return true;
  };
  ASSERT_TRUE(ChangeState(first, DemoWorld(), describe, kPatience, &world, &error)) << error;
  ASSERT_TRUE(MakeHardLink(first, second));
  ASSERT_TRUE(ChangeState(first, DemoWorld(), Rename("first"), kPatience, &world, &error)) << error;
  ASSERT_TRUE(ChangeState(second, DemoWorld(), Rename("second"), kPatience, &world, &error))
      << error;
  for (const std::string& name : {first, second}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(StateLoad::kLoaded, LoadState(name, &world, &error)) << error;
    EXPECT_EQ(name == first ? "first" : "second", world.local->comp_name);
    EXPECT_EQ("before the second name", world.local->devices.at(0).description);
  }
}

// A folder that cannot be written, and a full disk, as a size limit on
// files: the change fails, saying why, and the file stays as it was.
TEST(StateFileTest, AChangeThatCannotBeWrittenLeavesTheFileAsItWas) {
#ifdef _WIN32
  GTEST_SKIP() << "file modes, another user and a limit on file sizes are POSIX's";
#else
  TempDir dir;
  ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
  const std::string folder = dir.File("folder");
  const std::string path = folder + "/world.json";
  const std::string link = dir.File("link.json");
  auto full_disk = [] {
    struct rlimit limit = {512, 512};
    return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
  };
  const struct {
    const char* title;
    std::function<bool()> restrict;
    const char* error;
    bool through_link;  // the change names the file through a link beside the folder
  } cases[] = {
      {"unwritable folder",
       [&] {
         // Root writes anywhere; an ordinary user cannot.
         return chmod(folder.c_str(), 0555) == 0 && (geteuid() != 0 || BecomeUser(65534));
       },
       "cannot be locked: Permission denied", false},
      {"full disk", full_disk, "cannot be written: File too large", false},
      {"full disk, through a link", full_disk, "cannot be written: File too large", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    WriteWorld(path, DemoWorld());
    ASSERT_EQ(0, chmod(path.c_str(), 0644));
    if (c.through_link)
      ASSERT_EQ(0, symlink(path.c_str(), link.c_str()));
    const std::string before = ReadFile(path);
    const std::set<std::string> entries = DirectoryEntries(folder);
    const std::set<std::string> beside = DirectoryEntries(dir.path());
    EXPECT_EQ(0, RefusedInChild(c.restrict, c.through_link ? link : path, c.error));
    EXPECT_EQ(before, ReadFile(path));
    // Only the lock, which holds nothing, may be new.
    std::set<std::string> after = DirectoryEntries(folder);
    after.erase("world.json.lock");
    EXPECT_EQ(entries, after);
    EXPECT_EQ(beside, DirectoryEntries(dir.path()));
    unlink(link.c_str());
    chmod(folder.c_str(), 0700);
    unlink((path + ".lock").c_str());
    unlink(path.c_str());
    rmdir(folder.c_str());
  }
#endif
}

const int kProcesses = 20;
const int kChangesEach = 10;

// What the processes below start from: a device for each.
World WorldOfProcesses() {
  World fresh = DemoWorld();
  for (int i = 0; i < kProcesses; ++i) {
    Device device;
    device.id = "dev-" + std::to_string(i);
    fresh.local->devices.push_back(device);
  }
  return fresh;
}

// One process's part: invites to its own device, each a change of its own;
// 0 when every change was kept. A change that the others' lock held off
// past the patience, as on a busy machine, is refused whole and so made
// again: one that was refused and kept all the same shows as an invite too
// many.
int AddInvites(const std::string& path, int process) {
  const World fresh = WorldOfProcesses();
  for (int n = 0; n < kChangesEach; ++n) {
    World world;
    std::string error, answer;
    auto invite = [&](World* changed) {
      answer = MakeInvite(changed, "local", "dev-" + std::to_string(process),
                          "friend" + std::to_string(n) + "@example.org");
      return answer == "OK";
    };
    while (!ChangeState(path, fresh, invite, kPatience, &world, &error)) {
      if (error != "stayed locked by another process") {
        fprintf(stderr, "refused with: %s\n", error.c_str());
        return 1;
      }
    }
    if (answer != "OK")
      return 1;
  }
  return 0;
}

#ifdef _WIN32
// Names the process and the file of the child below: "INDEX PATH".
const char kChildVariable[] = "WNCTL_STATE_FILE_CHILD";

// Windows has no fork: the children are this program again, running this
// case alone.
TEST(StateFileTest, ChildOfProcessesChangingTogether) {
  const char* child = getenv(kChildVariable);
  if (!child)
    GTEST_SKIP() << "it runs only as a child of ProcessesChangingTogetherLoseNoChange";
  char* path = nullptr;
  const long process = strtol(child, &path, 10);
  EXPECT_EQ(0, AddInvites(path + 1, static_cast<int>(process)));
}

#endif

// Processes started together, each adding invites to its own device; each
// reads the world, changes it and writes it back, and none may lose another's.
TEST(StateFileTest, ProcessesChangingTogetherLoseNoChange) {
  TempDir dir;
  const std::string path = dir.File("world.json");
#ifdef _WIN32
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (int i = 0; i < kProcesses; ++i)
    children.push_back(
        std::make_unique<ChildProcess>("StateFileTest.ChildOfProcessesChangingTogether",
                                       kChildVariable, std::to_string(i) + " " + path));
  for (auto& child : children)
    child->Resume();
#else
  StartGate gate;
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (int i = 0; i < kProcesses; ++i)
    children.push_back(
        std::make_unique<ChildProcess>([&, i] { return AddInvites(path, i); }, &gate));
  gate.Open();
#endif
  for (auto& child : children)
    EXPECT_EQ(0, child->ExitCode());

  World world;
  std::string error;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &world, &error)) << error;
  std::set<std::string> ids;
  for (const Device& device : world.local->devices) {
    if (device.id.compare(0, 4, "dev-") != 0)
      continue;
    EXPECT_EQ(static_cast<size_t>(kChangesEach), device.invites.size()) << device.id;
    for (const DeviceInvite& invite : device.invites)
      ids.insert(invite.id_invite);
  }
  EXPECT_EQ(static_cast<size_t>(kProcesses * kChangesEach), ids.size());
}

// Another process keeps the lock, waiting or stopped: the change gives up
// after its patience, and the file stays as it was.
TEST(StateFileTest, ALockHeldElsewhereEndsTheChangeAfterItsPatience) {
  const struct {
    const char* title;
    bool stopped;
  } cases[] = {
      {"holder waiting", false},
#ifndef _WIN32
      {"holder stopped", true},  // on Windows the holder is a handle of this process
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    TempDir dir;
    const std::string path = dir.File("world.json");
    WriteWorld(path, DemoWorld());
    const std::string before = ReadFile(path);
    LockHolder holder(path + ".lock");
    ASSERT_TRUE(holder.held());
#ifndef _WIN32
    if (c.stopped) {
      ASSERT_TRUE(holder.Stop());
    }
#endif
    World world;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ChangeState(path, DemoWorld(), Rename("lost"), milliseconds(300), &world, &error));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ("stayed locked by another process", error);
    EXPECT_GE(waited, milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(before, ReadFile(path));
    holder.Release();
    EXPECT_TRUE(ChangeState(path, DemoWorld(), Rename("kept"), milliseconds(300), &world, &error))
        << error;
  }
}

// A world just as large as a state file may be is kept and reads back; one
// byte more is refused, and the file stays as it was.
TEST(StateFileTest, AWorldTooLargeToReadBackIsNotSaved) {
  const size_t kLargest = 64 << 20;
  TempDir dir;
  const std::string path = dir.File("world.json");
  const size_t base = StyledJson(WorldToJson(DemoWorld())).size() -
                      DemoWorld().local->devices.at(0).description.size();
  auto describe = [](size_t length) {
    return [length](World* world) {
      world->local->devices.at(0).description.assign(length, 'x');
      return true;
    };
  };
  World world;
  std::string error;
  ASSERT_TRUE(ChangeState(path, DemoWorld(), describe(kLargest - base), kPatience, &world, &error))
      << error;
  ASSERT_EQ(kLargest, ReadFile(path).size());
  World loaded;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &loaded, &error)) << error;

  const std::string before = ReadFile(path);
  EXPECT_FALSE(
      ChangeState(path, DemoWorld(), describe(kLargest - base + 1), kPatience, &world, &error));
  EXPECT_EQ("cannot be written: the world would be larger than 64 MiB, too large to read back",
            error);
  EXPECT_EQ(before, ReadFile(path));
  EXPECT_EQ((std::set<std::string>{"world.json", "world.json.lock"}), DirectoryEntries(dir.path()));
}

// Root saving another user's file leaves it theirs, mode and all; a user who
// could not give the file back to its owner leaves it alone.
TEST(StateFileTest, ASaveKeepsTheOwnerAndModeOrIsRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "owners and file modes are POSIX's";
#else
  if (geteuid() != 0)
    GTEST_SKIP() << "only root can give a file to another user";
  TempDir dir;
  ASSERT_EQ(0, chmod(dir.path().c_str(), 0777));
  const std::string theirs = dir.File("theirs.json");
  WriteWorld(theirs, DemoWorld());
  ASSERT_EQ(0, chown(theirs.c_str(), 65534, 65534));
  ASSERT_EQ(0, chmod(theirs.c_str(), 0640));
  World world;
  std::string error;
  ASSERT_TRUE(ChangeState(theirs, DemoWorld(), Rename("by root"), kPatience, &world, &error))
      << error;
  struct stat info;
  ASSERT_EQ(0, stat(theirs.c_str(), &info));
  EXPECT_EQ(65534u, info.st_uid);
  EXPECT_EQ(65534u, info.st_gid);
  EXPECT_EQ(0640u, info.st_mode & 07777);
  ASSERT_EQ(StateLoad::kLoaded, LoadState(theirs, &world, &error));
  EXPECT_EQ("by root", world.local->comp_name);

  const std::string roots = dir.File("roots.json");
  WriteWorld(roots, DemoWorld());
  ASSERT_EQ(0, chmod(roots.c_str(), 0644));
  const std::string before = ReadFile(roots);
  EXPECT_EQ(0, RefusedInChild([] { return BecomeUser(65534); }, roots,
                              "cannot keep its owner and mode: Operation not permitted"));
  EXPECT_EQ(before, ReadFile(roots));
  ASSERT_EQ(0, stat(roots.c_str(), &info));
  EXPECT_EQ(0u, info.st_uid);
  EXPECT_EQ(0644u, info.st_mode & 07777);
  EXPECT_FALSE(FileExists(roots + ".tmp"));
#endif
}

// A save cut short leaves its temporary file, under the fixed name or the
// process-named one of older versions: the next save removes it, follows no
// link found there, and leaves other names alone.
TEST(StateFileTest, ASaveRemovesTheTemporaryFilesOfSavesCutShort) {
  TempDir dir;
  const std::string path = dir.File("world.json");
  WriteWorld(path, DemoWorld());
  WriteFile(dir.File("victim"), "untouched");
#ifdef _WIN32
  // No older version ran on Windows: only the fixed name is a save's there.
  WriteFile(path + ".tmp", "{");
  const std::set<std::string> left = {
      "other.json.tmp-7", "victim",           "world.json",           "world.json.lock",
      "world.json.tmp-",  "world.json.tmp-1", "world.json.tmp-12345", "world.json.tmp-12a"};
#else
  ASSERT_EQ(0, symlink(dir.File("victim").c_str(), (path + ".tmp").c_str()));
  const std::set<std::string> left = {"other.json.tmp-7", "victim",          "world.json",
                                      "world.json.lock",  "world.json.tmp-", "world.json.tmp-12a"};
#endif
  for (const char* name : {"world.json.tmp-12345", "world.json.tmp-1", "world.json.tmp-12a",
                           "other.json.tmp-7", "world.json.tmp-"})
    WriteFile(dir.File(name), "{");
  World world;
  std::string error;
  ASSERT_TRUE(ChangeState(path, DemoWorld(), Rename("after"), kPatience, &world, &error)) << error;
  EXPECT_EQ("untouched", ReadFile(dir.File("victim")));
  EXPECT_EQ(left, DirectoryEntries(dir.path()));
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &world, &error));
  EXPECT_EQ("after", world.local->comp_name);
}

// A path that can name only a folder names no state file: nothing is made
// for it. A save keeps the permission bits alone of the file it replaces.
TEST(StateFileTest, AFolderNameIsRefusedBeforeAnythingIsMadeAndSpecialBitsGo) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and file modes are POSIX's";
#else
  TempDir dir;
  ASSERT_EQ(0, symlink("missing/", dir.File("link").c_str()));
  World world;
  std::string error;
  for (const char* name : {"missing/", "missing/.", "missing/..", "link"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ChangeState(dir.File(name), DemoWorld(), Rename("x"), kPatience, &world, &error));
    EXPECT_EQ("cannot be written: Is a directory", error);
    EXPECT_EQ(std::set<std::string>{"link"}, DirectoryEntries(dir.path()));
  }

  const std::string path = dir.File("world.json");
  WriteWorld(path, DemoWorld());
  ASSERT_EQ(0, chmod(path.c_str(), 06755));
  ASSERT_TRUE(ChangeState(path, DemoWorld(), Rename("y"), kPatience, &world, &error)) << error;
  EXPECT_EQ(0755u, FileMode(path));
#endif
}

#ifndef _WIN32
const uid_t kHomeOwner = 65534;
const uid_t kOtherUser = 65533;

// True when `uid` can open `path` for reading, tried in a child as that user.
bool CanRead(uid_t uid, const std::string& path) {
  return RunInChild([&] {
           if (!BecomeUser(uid))
             return 2;
           int fd = open(path.c_str(), O_RDONLY);
           return fd >= 0 ? 0 : 1;
         }) == 0;
}

class ScopedSaveStepHook {
 public:
  explicit ScopedSaveStepHook(std::function<void(const std::string&)> hook) {
    SetSaveStepHookForTesting(std::move(hook));
  }
  ~ScopedSaveStepHook() { SetSaveStepHookForTesting(nullptr); }
};
#endif

// At no step of a save is its replacement open to a user the file it
// replaces was closed to, not even the owner of the folder (whom root's run
// in their home once gave it first), and it has its final owner and mode
// before any text is written.
TEST(RootInAUsersHome, AReplacementIsNeverOpenToMoreThanTheFileItReplaces) {
#ifdef _WIN32
  GTEST_SKIP() << "owners and file modes are POSIX's";
#else
  if (geteuid() != 0)
    GTEST_SKIP() << "only root can make files of other users";
  const struct {
    uid_t folder_owner;
    uid_t file_owner;
    mode_t mode;
    uid_t outsider;  // a user the file is closed to
    bool kept;
  } cases[] = {
      // Root's world, holding its proxy password, in the user's folder: with
      // the user's rights, root's run can no more read it than the user.
      {kHomeOwner, 0, 0600, kHomeOwner, false},
      {0, kHomeOwner, 0640, kOtherUser, true},
      {kHomeOwner, kHomeOwner, 0600, kOtherUser, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.folder_owner) + " " + std::to_string(c.file_owner));
    TempDir dir;
    ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
    const std::string home = dir.File("home");
    ASSERT_EQ(0, mkdir(home.c_str(), 0755));
    ASSERT_EQ(0, chown(home.c_str(), c.folder_owner, c.folder_owner));
    const std::string path = home + "/world.json";
    World secret = DemoWorld();
    secret.proxy["proxy_auth"]["proxy_passwd"] = "root's proxy password";
    WriteWorld(path, secret);
    ASSERT_EQ(0, chown(path.c_str(), c.file_owner, c.file_owner));
    ASSERT_EQ(0, chmod(path.c_str(), c.mode));
    const std::string before = ReadFile(path);

    int steps = 0;
    struct stat last = {};
    ScopedSaveStepHook hook([&](const std::string& temporary) {
      ++steps;
      const std::string made = home + "/" + temporary;
      EXPECT_FALSE(CanRead(c.outsider, made)) << "step " << steps;
      EXPECT_EQ(0, stat(made.c_str(), &last));
      EXPECT_EQ(0, last.st_size);
    });
    World world;
    std::string error;
    EXPECT_EQ(c.kept, ChangeState(path, DemoWorld(), Rename("changed"), kPatience, &world, &error))
        << error;
    EXPECT_FALSE(CanRead(c.outsider, path));
    if (!c.kept) {
      EXPECT_EQ("cannot be read: Permission denied", error);
      EXPECT_EQ(before, ReadFile(path));
      EXPECT_EQ(0, steps);
      continue;
    }
    EXPECT_LT(0, steps);
    EXPECT_EQ(c.file_owner, last.st_uid);
    EXPECT_EQ(c.mode, last.st_mode & 07777);
    struct stat saved;
    ASSERT_EQ(0, stat(path.c_str(), &saved));
    EXPECT_EQ(c.file_owner, saved.st_uid);
    EXPECT_EQ(c.mode, saved.st_mode & 07777);
  }
#endif
}

// The owner of a home points root's state path, or a folder of it, at places
// only root may write, or at another user's world: root's run, done with the
// owner's rights there, makes, changes and removes nothing the owner could
// not, and what it makes in the home is the owner's.
TEST(RootInAUsersHome, TheOwnersLinksLeadOnlyWhereTheOwnerMayGo) {
#ifdef _WIN32
  GTEST_SKIP() << "owners and symbolic links are POSIX's";
#else
  if (geteuid() != 0)
    GTEST_SKIP() << "only root can make files of other users";
  TempDir dir;
  ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
  const std::string roots = dir.File("roots");  // like /etc
  ASSERT_EQ(0, mkdir(roots.c_str(), 0755));
  WriteFile(roots + "/passwd", "");
  WriteFile(roots + "/passwd.tmp-77", "root's");
  const std::string theirs = dir.File("theirs");  // another user's home
  ASSERT_EQ(0, mkdir(theirs.c_str(), 0700));
  WriteWorld(theirs + "/world.json", DemoWorld());
  ASSERT_EQ(0, chown((theirs + "/world.json").c_str(), kOtherUser, kOtherUser));
  ASSERT_EQ(0, chown(theirs.c_str(), kOtherUser, kOtherUser));
  const std::string home = dir.File("home");
  ASSERT_EQ(0, mkdir(home.c_str(), 0755));
  ASSERT_EQ(0, chown(home.c_str(), kHomeOwner, kHomeOwner));
  const std::string roots_before = ReadFile(roots + "/passwd.tmp-77");
  const std::string theirs_before = ReadFile(theirs + "/world.json");

  const struct {
    const char* link;  // in the home
    std::string points_to;
    const char* path;  // the state path, in the home
    const char* error;
  } cases[] = {
      {"nologin.json", roots + "/nologin", "nologin.json", "cannot be locked: Permission denied"},
      {"passwd.json", roots + "/passwd", "passwd.json", "cannot be locked: Permission denied"},
      {"theirs.json", theirs + "/world.json", "theirs.json",
       "cannot be written: Permission denied"},
      {"state", roots, "state/wirenest/world.json", "cannot be written: Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string link = home + "/" + c.link;
    ASSERT_EQ(0, symlink(c.points_to.c_str(), link.c_str()));
    ASSERT_EQ(0, lchown(link.c_str(), kHomeOwner, kHomeOwner));
    World world;
    std::string error;
    EXPECT_FALSE(
        ChangeState(home + "/" + c.path, DemoWorld(), Rename("root's"), kPatience, &world, &error));
    EXPECT_EQ(c.error, error);
    EXPECT_EQ((std::set<std::string>{"passwd", "passwd.tmp-77"}), DirectoryEntries(roots));
    EXPECT_EQ(roots_before, ReadFile(roots + "/passwd.tmp-77"));
    EXPECT_EQ(theirs_before, ReadFile(theirs + "/world.json"));
  }

  // Where the owner may go, the run goes, and what it makes there is theirs.
  const std::string own = home + "/own";
  ASSERT_EQ(0, mkdir(own.c_str(), 0700));
  ASSERT_EQ(0, chown(own.c_str(), kHomeOwner, kHomeOwner));
  ASSERT_EQ(0, symlink("own/new/world.json", (home + "/world.json").c_str()));
  World world;
  std::string error;
  ASSERT_TRUE(
      ChangeState(home + "/world.json", DemoWorld(), Rename("root's"), kPatience, &world, &error))
      << error;
  for (const char* name : {"/own/new", "/own/new/world.json", "/own/new/world.json.lock"}) {
    SCOPED_TRACE(name);
    struct stat info;
    ASSERT_EQ(0, lstat((home + name).c_str(), &info));
    EXPECT_EQ(kHomeOwner, info.st_uid);
    EXPECT_EQ(kHomeOwner, info.st_gid);
  }
  EXPECT_EQ(0700u, FileMode(home + "/own/new"));
  EXPECT_EQ(0600u, FileMode(home + "/own/new/world.json"));
  EXPECT_EQ(0u, getuid());
#endif
}

}  // namespace
}  // namespace standin
