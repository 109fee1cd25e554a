#include "wirenest/standin/files.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <set>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/test_files.h"

namespace standin {
namespace {

#ifdef _WIN32
const char kNoSymbolicLinks[] =
    "symbolic links: Windows makes them only with a privilege, and Wine's are no reparse points";
#else
const uid_t kUser = 65534;
const std::chrono::milliseconds kPatience(100);

struct stat Info(const std::string& path) {
  struct stat info = {};
  lstat(path.c_str(), &info);
  return info;
}

std::set<std::string> Names(const std::string& path) {
  std::set<std::string> names;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir))
      names.insert(entry->d_name);
    closedir(dir);
  }
  names.erase(".");
  names.erase("..");
  return names;
}
#endif

// The owner of a home swaps a folder of the path for a link to root's own
// folder between two steps of root's run: what the run makes still lands in
// the folder it opened, goes to that folder's owner, and root's folder and
// file stay as they were, root's.
TEST(FolderTest, WhatIsMadeLandsInTheFolderOpenedWhateverItsPathNamesLater) {
#ifdef _WIN32
  GTEST_SKIP() << "owners, and a folder of the path swapped for a symbolic link, are POSIX's";
#else
  TempDir dir;
  const std::string home = dir.File("home");
  const std::string roots = dir.File("roots");
  ASSERT_EQ(0, mkdir(home.c_str(), 0755));
  ASSERT_EQ(0, mkdir((home + "/state").c_str(), 0755));
  ASSERT_EQ(0, mkdir(roots.c_str(), 0700));
  ASSERT_EQ(0, mkdir((roots + "/wirenest").c_str(), 0700));
  WriteFile(roots + "/wirenest/world.json", "root's");
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(0, chown(home.c_str(), kUser, kUser));
    ASSERT_EQ(0, chown((home + "/state").c_str(), kUser, kUser));
  }

  Folder folder;
  std::string error;
  ASSERT_TRUE(folder.Open(home + "/state/wirenest", true, &error)) << error;
  ASSERT_EQ(0, rename((home + "/state").c_str(), (home + "/moved").c_str()));
  ASSERT_EQ(0, symlink(roots.c_str(), (home + "/state").c_str()));

  FileLock lock(folder, "world.json.lock", kPatience);
  EXPECT_TRUE(lock.held()) << lock.error();
  ASSERT_TRUE(folder.SaveFile("world.json", "new", FileKeeps(), &error)) << error;
  std::string text;
  EXPECT_EQ(FileRead::kRead, folder.ReadRegularFile("world.json", 100, &text, nullptr, &error));
  EXPECT_EQ("new", text);

  EXPECT_EQ("new", ReadFile(home + "/moved/wirenest/world.json"));
  EXPECT_EQ((std::set<std::string>{"world.json", "world.json.lock"}),
            Names(home + "/moved/wirenest"));
  EXPECT_EQ("root's", ReadFile(roots + "/wirenest/world.json"));
  EXPECT_EQ(std::set<std::string>{"world.json"}, Names(roots + "/wirenest"));
  if (root) {
    for (const char* name :
         {"/moved/wirenest", "/moved/wirenest/world.json", "/moved/wirenest/world.json.lock"}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(kUser, Info(home + name).st_uid);
    }
    EXPECT_EQ(0u, Info(roots + "/wirenest").st_uid);
    EXPECT_EQ(0u, Info(roots + "/wirenest/world.json").st_uid);
  }
#endif
}

// Links that stand in the path when it is opened are followed to find the
// folder; in the folder, a link is not followed.
TEST(FolderTest, FollowsOnlyTheLinksOnTheWayToTheFolder) {
#ifdef _WIN32
  GTEST_SKIP() << kNoSymbolicLinks;
#else
  TempDir dir;
  ASSERT_EQ(0, mkdir(dir.File("real").c_str(), 0700));
  ASSERT_EQ(0, symlink("real", dir.File("link").c_str()));
  WriteFile(dir.File("file"), "{}");
  Folder through_link;
  std::string error;
  ASSERT_TRUE(through_link.Open(dir.File("link/made/below"), true, &error)) << error;
  EXPECT_TRUE(S_ISDIR(Info(dir.File("real/made/below")).st_mode));
  ASSERT_EQ(0, symlink(dir.File("file").c_str(), dir.File("real/made/below/state").c_str()));
  std::string text;
  EXPECT_EQ(FileRead::kFailed, through_link.ReadRegularFile("state", 100, &text, nullptr, &error));
  EXPECT_EQ("cannot be read: Too many levels of symbolic links", error);
#endif
}

// A file where a folder is to be refuses, and so does a missing folder
// that is not to be made.
TEST(FolderTest, AFileOnTheWayOrAMissingFolderRefuses) {
  TempDir dir;
  WriteFile(dir.File("file"), "{}");
  std::string error;
  Folder file;
  EXPECT_FALSE(file.Open(dir.File("file/below"), true, &error));
#ifdef _WIN32
  // The system's own words follow.
  EXPECT_EQ(0u, error.find("cannot be written: ")) << error;
#else
  EXPECT_EQ("cannot be written: Not a directory", error);
#endif
  Folder missing;
  EXPECT_FALSE(missing.Open(dir.File("none/below"), false, &error));
#ifdef _WIN32
  EXPECT_EQ(0u, error.find("cannot be written: ")) << error;
#else
  EXPECT_EQ("cannot be written: No such file or directory", error);
#endif
}

// As from ~/.local under "umask 177" or "umask 777": what is made is still
// the owner's to use.
TEST(FolderTest, WhatIsMadeUnderAStrictUmaskStaysUsable) {
#ifdef _WIN32
  GTEST_SKIP() << "the umask and file modes are POSIX's";
#else
  for (mode_t mask : {0177, 0777}) {
    SCOPED_TRACE(mask);
    TempDir dir;
    EXPECT_EQ(0, RunInChild([&] {
                umask(mask);
                Folder folder;
                std::string error;
                bool made = folder.Open(dir.File("a/b/c"), true, &error) &&
                            folder.SaveFile("file", "text", FileKeeps(), &error) &&
                            FileLock(folder, "file.lock", kPatience).held();
                return made ? 0 : 1;
              }));
    for (const char* name : {"a", "a/b", "a/b/c"})
      EXPECT_EQ(0700u, FileMode(dir.File(name))) << name;
    EXPECT_EQ(0600u, FileMode(dir.File("a/b/c/file")));
    EXPECT_EQ(0600u, FileMode(dir.File("a/b/c/file.lock")));
  }
#endif
}

// Where /proc is not mounted, as in a mount namespace of its own, and under
// a umask that takes the owner's rights away, what is made is still the
// owner's to use; in a user's home it is the user's, as root's run made it.
TEST(FolderTest, WhatIsMadeWithoutProcStaysTheOwners) {
#ifndef __linux__
  GTEST_SKIP() << "mount namespaces are Linux's";
#else
  const bool root = geteuid() == 0;
  for (mode_t mask : {0177, 0277, 0777}) {
    SCOPED_TRACE(mask);
    TempDir dir;
    ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
    const std::string home = dir.File("home");
    ASSERT_EQ(0, mkdir(home.c_str(), 0755));
    if (root) {
      ASSERT_EQ(0, chown(home.c_str(), kUser, kUser));
    }
    const int kNoNamespace = 77;
    const int made = RunInChild([&] {
      if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
          umount2("/proc", MNT_DETACH) != 0)
        return kNoNamespace;
      umask(mask);
      Folder folder;
      std::string error;
      if (folder.Open(home + "/a/b", true, &error) &&
          folder.SaveFile("file", "text", FileKeeps(), &error))
        return 0;
      fprintf(stderr, "%s\n", error.c_str());
      return 1;
    });
    if (made == kNoNamespace)
      GTEST_SKIP() << "a mount namespace without /proc needs CAP_SYS_ADMIN";
    EXPECT_EQ(0, made);
    for (const char* name : {"/a", "/a/b", "/a/b/file"}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(std::string(name) == "/a/b/file" ? 0600u : 0700u, FileMode(home + name));
      EXPECT_EQ(root ? kUser : geteuid(), Info(home + name).st_uid);
    }
  }
#endif
}

// A FIFO as the call log would hold the run until a reader came, and a
// reader would get the log's lines; a device is no log either.
TEST(AppendToFileTest, RefusesWhatIsNotARegularFileWithoutWaiting) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs are POSIX's";
#else
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_LE(0, reader);
  std::string refusal;
  EXPECT_FALSE(AppendToFile(fifo, "line\n", &refusal));
  EXPECT_EQ("is not a regular file", refusal);
  char byte;
  EXPECT_EQ(0, read(reader, &byte, 1));
  close(reader);
  for (const std::string& path : {fifo, std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    refusal.clear();
    EXPECT_FALSE(AppendToFile(path, "line\n", &refusal));
    EXPECT_EQ("is not a regular file", refusal);
  }
#endif
}

TEST(AppendToFileTest, RefusesASymbolicLink) {
#ifdef _WIN32
  GTEST_SKIP() << kNoSymbolicLinks;
#else
  TempDir dir;
  WriteFile(dir.File("victim"), "untouched");
  ASSERT_EQ(0, symlink(dir.File("victim").c_str(), dir.File("log").c_str()));
  std::string refusal;
  EXPECT_FALSE(AppendToFile(dir.File("log"), "line\n", &refusal));
  EXPECT_EQ("is a symbolic link", refusal);
  EXPECT_EQ("untouched", ReadFile(dir.File("victim")));
#endif
}

TEST(AppendToFileTest, MakesTheFileAndAppendsToIt) {
  TempDir dir;
  std::string refusal;
  EXPECT_TRUE(AppendToFile(dir.File("new"), "line\n", &refusal));
  EXPECT_EQ("", refusal);
  EXPECT_TRUE(AppendToFile(dir.File("new"), "more\n", &refusal));
  EXPECT_EQ("line\nmore\n", ReadFile(dir.File("new")));
}

}  // namespace
}  // namespace standin
