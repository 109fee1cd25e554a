#include "wirenest/standin/state_file.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>

#include "wirenest/standin/files.h"
#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_json.h"

namespace standin {

namespace {

// Far beyond any world a person keeps; /dev/zero and the like end here.
const size_t kLargestState = 64 << 20;

std::string SystemError(const char* what, int error) {
  return std::string(what) + ": " + strerror(error);
}

bool ReadState(const std::string& path, std::string* text, std::string* error, bool* missing) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.valid()) {
    *missing = errno == ENOENT;
    *error = SystemError("cannot be read", errno);
    return false;
  }
  struct stat info;
  if (fstat(file.get(), &info) != 0) {
    *error = SystemError("cannot be read", errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = "is not a regular file";
    return false;
  }
  if (static_cast<unsigned long long>(info.st_size) > kLargestState) {
    *error = SystemError("cannot be read", EFBIG);
    return false;
  }
  int read_error = 0;
  if (fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK) != 0 ||
      !ReadAll(file.get(), kLargestState, text, &read_error)) {
    *error = SystemError("cannot be read", read_error ? read_error : errno);
    return false;
  }
  return true;
}

// The file that `path` leads to, in a directory that exists.
bool PrepareTarget(const std::string& path, std::string* target, std::string* error) {
  if (FollowLinks(path, target) && MakeDirectories(ParentDirectory(*target)))
    return true;
  *error = SystemError("cannot be written", errno);
  return false;
}

// Saves named their temporary file after their process once; under the lock
// any such file left beside the target is stale.
void RemoveOldTemporaries(const std::string& target) {
  const std::string directory = ParentDirectory(target);
  const size_t slash = target.find_last_of('/');
  const std::string prefix =
      (slash == std::string::npos ? target : target.substr(slash + 1)) + ".tmp-";
  std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(directory.c_str()), closedir);
  if (!listing)
    return;
  while (const dirent* entry = readdir(listing.get())) {
    const std::string name = entry->d_name;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
      continue;
    bool pid = true;
    for (size_t i = prefix.size(); i < name.size(); ++i)
      pid = pid && isdigit(static_cast<unsigned char>(name[i]));
    if (pid)
      unlinkat(dirfd(listing.get()), name.c_str(), 0);
  }
}

// A replaced file keeps its owner, group and mode, or is not replaced: a file
// that its owner could no longer read would be worse than a lost change.
bool TakeOwnerAndMode(int fd, const std::string& target, std::string* error) {
  struct stat existing, made;
  if (stat(target.c_str(), &existing) != 0) {
    if (errno == ENOENT && fchmod(fd, 0600) == 0) {
      GiveToFolderOwner(fd, target);
      return true;
    }
    *error = SystemError("cannot be written", errno);
    return false;
  }
  bool kept = fstat(fd, &made) == 0 &&
              ((made.st_uid == existing.st_uid && made.st_gid == existing.st_gid) ||
               fchown(fd, existing.st_uid, existing.st_gid) == 0) &&
              fchmod(fd, existing.st_mode & 07777) == 0;
  if (!kept)
    *error = SystemError("cannot keep its owner and mode", errno);
  return kept;
}

bool ReplaceState(const std::string& target, const World& world, std::string* error) {
  const std::string text = StyledJson(WorldToJson(world));
  if (text.size() > kLargestState) {
    *error = "cannot be written: the world would be larger than 64 MiB, too large to read back";
    return false;
  }
  RemoveOldTemporaries(target);
  // Saves happen under the lock: one name serves, and one left by a save
  // cut short is stale.
  const std::string temporary = target + ".tmp";
  unlink(temporary.c_str());
  FileDescriptor file(
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!file.valid()) {
    *error = SystemError("cannot be written", errno);
    return false;
  }
  if (!TakeOwnerAndMode(file.get(), target, error)) {
    unlink(temporary.c_str());
    return false;
  }
  if (WriteAll(file.get(), text) && fsync(file.get()) == 0 && file.Close() &&
      rename(temporary.c_str(), target.c_str()) == 0)
    return true;
  *error = SystemError("cannot be written", errno);
  unlink(temporary.c_str());
  return false;
}

}  // namespace

StateLoad LoadState(const std::string& path, World* world, std::string* error) {
  std::string text;
  bool missing = false;
  if (!ReadState(path, &text, error, &missing))
    return missing ? StateLoad::kMissing : StateLoad::kBad;
  Json::Value json;
  if (!ParseJson(text, &json, error) || !WorldFromJson(json, "world", world, error))
    return StateLoad::kBad;
  return StateLoad::kLoaded;
}

bool ChangeState(const std::string& path, const World& fresh,
                 const std::function<bool(World*)>& change, std::chrono::milliseconds patience,
                 World* world, std::string* error) {
  std::string target;
  if (!PrepareTarget(path, &target, error))
    return false;
  FileLock lock(target + ".lock", patience);
  if (!lock.held()) {
    *error = lock.error() == EWOULDBLOCK ? "stayed locked by another process"
                                         : SystemError("cannot be locked", lock.error());
    return false;
  }
  World current;
  switch (LoadState(target, &current, error)) {
    case StateLoad::kLoaded:
      break;
    case StateLoad::kMissing:
      current = fresh;
      break;
    case StateLoad::kBad:
      return false;
  }
  World changed = current;
  bool keep = change(&changed);
  if (keep && !ReplaceState(target, changed, error)) {
    *world = current;
    return false;
  }
  // Moved: once the file is replaced, nothing may fail for lack of memory.
  *world = keep ? std::move(changed) : std::move(current);
  return true;
}

std::string DefaultStatePath() {
  const char* state_home = getenv("XDG_STATE_HOME");
  std::string base;
  if (state_home && state_home[0] == '/') {
    base = state_home;
  } else {
    const char* home = getenv("HOME");
    if (!home || !home[0])
      return std::string();
    base = std::string(home) + "/.local/state";
  }
  return base + "/wirenest/standin-world.json";
}

}  // namespace standin
