#include "wirenest/standin/files.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace standin {
namespace {

const uid_t kUser = 65534;

struct stat Info(const std::string& path) {
  struct stat info = {};
  lstat(path.c_str(), &info);
  return info;
}

// The owner of a home swaps a folder of the path for a link to root's own
// folder between two steps of root's run: what the run makes still lands in
// the folder it opened, goes to that folder's owner, and root's folder and
// file stay as they were, root's.
TEST(FolderTest, WhatIsMadeLandsInTheFolderOpenedWhateverItsPathNamesLater) {
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
  ASSERT_TRUE(folder.Open(home + "/state/wirenest", true)) << strerror(errno);
  ASSERT_EQ(0, rename((home + "/state").c_str(), (home + "/moved").c_str()));
  ASSERT_EQ(0, symlink(roots.c_str(), (home + "/state").c_str()));

  FileDescriptor made(folder.MakeFile("world.json.tmp", O_WRONLY));
  ASSERT_TRUE(made.valid()) << strerror(errno);
  ASSERT_TRUE(WriteAll(made.get(), "new") && made.Close());
  FileLock lock(folder, "world.json.lock", std::chrono::milliseconds(100));
  EXPECT_TRUE(lock.held());
  ASSERT_TRUE(folder.Rename("world.json.tmp", "world.json"));

  EXPECT_EQ("new", ReadFile(home + "/moved/wirenest/world.json"));
  EXPECT_EQ("root's", ReadFile(roots + "/wirenest/world.json"));
  Folder roots_folder;
  ASSERT_TRUE(roots_folder.Open(roots + "/wirenest", false));
  EXPECT_EQ(std::vector<std::string>{"world.json"}, roots_folder.Names());
  if (root) {
    for (const char* name : {"/moved/wirenest", "/moved/wirenest/world.json",
                             "/moved/wirenest/world.json.lock"}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(kUser, Info(home + name).st_uid);
    }
    EXPECT_EQ(0u, Info(roots + "/wirenest").st_uid);
    EXPECT_EQ(0u, Info(roots + "/wirenest/world.json").st_uid);
  }
}

// Links that stand in the path when it is opened are followed to find the
// folder; a file or a link where the folder is to be refuses.
TEST(FolderTest, OpensThroughLinksThatStandAndRefusesWhatIsNoFolder) {
  TempDir dir;
  ASSERT_EQ(0, mkdir(dir.File("real").c_str(), 0700));
  ASSERT_EQ(0, symlink("real", dir.File("link").c_str()));
  WriteFile(dir.File("file"), "");
  Folder through_link;
  ASSERT_TRUE(through_link.Open(dir.File("link/made/below"), true)) << strerror(errno);
  EXPECT_TRUE(S_ISDIR(Info(dir.File("real/made/below")).st_mode));

  Folder file;
  EXPECT_FALSE(file.Open(dir.File("file/below"), true));
  EXPECT_EQ(ENOTDIR, errno);
  Folder missing;
  EXPECT_FALSE(missing.Open(dir.File("none/below"), false));
  EXPECT_EQ(ENOENT, errno);
}

// As from ~/.local under "umask 177" or "umask 777": what is made is still
// the owner's to use.
TEST(FolderTest, WhatIsMadeUnderAStrictUmaskStaysUsable) {
  for (mode_t mask : {0177, 0777}) {
    SCOPED_TRACE(mask);
    TempDir dir;
    pid_t child = fork();
    if (child == 0) {
      umask(mask);
      Folder folder;
      int fd = folder.Open(dir.File("a/b/c"), true) ? folder.MakeFile("file", O_WRONLY) : -1;
      _exit(fd >= 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_EQ(0, status);
    for (const char* name : {"a", "a/b", "a/b/c"})
      EXPECT_EQ(0700u, FileMode(dir.File(name))) << name;
    EXPECT_EQ(0600u, FileMode(dir.File("a/b/c/file")));
  }
}

TEST(AppendToFileTest, RefusesASymbolicLink) {
  TempDir dir;
  WriteFile(dir.File("victim"), "untouched");
  ASSERT_EQ(0, symlink(dir.File("victim").c_str(), dir.File("log").c_str()));
  EXPECT_FALSE(AppendToFile(dir.File("log"), "line\n"));
  EXPECT_EQ(ELOOP, errno);
  EXPECT_EQ("untouched", ReadFile(dir.File("victim")));
  EXPECT_TRUE(AppendToFile(dir.File("new"), "line\n"));
  EXPECT_TRUE(AppendToFile(dir.File("new"), "more\n"));
  EXPECT_EQ("line\nmore\n", ReadFile(dir.File("new")));
}

}  // namespace
}  // namespace standin
