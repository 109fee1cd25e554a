#include "wirenest/standin/state_file.h"

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

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

const char* const kWorldMembers[] = {"version", "account", "service",        "local",
                                     "remote",  "other",   "default_params", "proxy"};

// JSON with members a world lacks, or with none of a world's, is something
// else, which no save may replace.
bool IsWorldShaped(const Json::Value& json, std::string* error) {
  bool any = false;
  for (const std::string& name : json.getMemberNames()) {
    if (std::find(std::begin(kWorldMembers), std::end(kWorldMembers), name) ==
        std::end(kWorldMembers)) {
      *error = "is not a world of the stand-in: it has the member \"" + name + "\"";
      return false;
    }
    any = true;
  }
  if (!any)
    *error = "is not a world of the stand-in: it has none of a world's members";
  return any;
}

// `file` is open on what is to be read; `info` is filled from it.
bool ReadState(const FileDescriptor& file, std::string* text, struct stat* info,
               std::string* error) {
  if (fstat(file.get(), info) != 0) {
    *error = SystemError("cannot be read", errno);
    return false;
  }
  if (!S_ISREG(info->st_mode)) {
    *error = "is not a regular file";
    return false;
  }
  if (static_cast<unsigned long long>(info->st_size) > kLargestState) {
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

// Without O_NONBLOCK, opening a FIFO waits for a writer.
const int kReadFlags = O_RDONLY | O_NONBLOCK;

StateLoad LoadOpenedState(int fd, World* world, struct stat* info, std::string* error) {
  FileDescriptor file(fd);
  if (!file.valid()) {
    const int open_error = errno;
    *error = SystemError("cannot be read", open_error);
    return open_error == ENOENT ? StateLoad::kMissing : StateLoad::kBad;
  }
  std::string text;
  Json::Value json;
  if (!ReadState(file, &text, info, error) || !ParseJson(text, &json, error) ||
      !WorldFromJson(json, "world", world, error) || !IsWorldShaped(json, error))
    return StateLoad::kBad;
  return StateLoad::kLoaded;
}

// Saves named their temporary file after their process once; under the lock
// any such file left beside the target is stale.
void RemoveOldTemporaries(const Folder& folder, const std::string& name) {
  const std::string prefix = name + ".tmp-";
  for (const std::string& entry : folder.Names()) {
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0)
      continue;
    bool pid = true;
    for (size_t i = prefix.size(); i < entry.size(); ++i)
      pid = pid && isdigit(static_cast<unsigned char>(entry[i]));
    if (pid)
      folder.Remove(entry);
  }
}

// A replaced file keeps its owner, group and mode, or is not replaced: a file
// that its owner could no longer read would be worse than a lost change. A
// new one keeps what Folder::MakeFile gave it.
bool TakeOwnerAndMode(int fd, const struct stat* existing, std::string* error) {
  if (!existing)
    return true;
  struct stat made;
  bool kept = fstat(fd, &made) == 0 &&
              ((made.st_uid == existing->st_uid && made.st_gid == existing->st_gid) ||
               fchown(fd, existing->st_uid, existing->st_gid) == 0) &&
              fchmod(fd, existing->st_mode & 07777) == 0;
  if (!kept)
    *error = SystemError("cannot keep its owner and mode", errno);
  return kept;
}

bool ReplaceState(const Folder& folder, const std::string& name, const struct stat* existing,
                  const World& world, std::string* error) {
  const std::string text = StyledJson(WorldToJson(world));
  if (text.size() > kLargestState) {
    *error = "cannot be written: the world would be larger than 64 MiB, too large to read back";
    return false;
  }
  RemoveOldTemporaries(folder, name);
  // Saves happen under the lock: one name serves, and one left by a save
  // cut short is stale.
  const std::string temporary = name + ".tmp";
  folder.Remove(temporary);
  FileDescriptor file(folder.MakeFile(temporary, O_WRONLY));
  if (!file.valid()) {
    *error = SystemError("cannot be written", errno);
    return false;
  }
  if (!TakeOwnerAndMode(file.get(), existing, error)) {
    folder.Remove(temporary);
    return false;
  }
  if (WriteAll(file.get(), text) && fsync(file.get()) == 0 && file.Close() &&
      folder.Rename(temporary, name))
    return true;
  *error = SystemError("cannot be written", errno);
  folder.Remove(temporary);
  return false;
}

}  // namespace

StateLoad LoadState(const std::string& path, World* world, std::string* error) {
  struct stat info;
  return LoadOpenedState(open(path.c_str(), kReadFlags | O_CLOEXEC), world, &info, error);
}

bool ChangeState(const std::string& path, const World& fresh,
                 const std::function<bool(World*)>& change, std::chrono::milliseconds patience,
                 World* world, std::string* error) {
  // Every step below goes through the folder held open, and none follows a
  // link: the file changed is the one that was read, in the folder found.
  std::string target;
  Folder folder;
  if (!FollowLinks(path, &target) || !folder.Open(ParentDirectory(target), true)) {
    *error = SystemError("cannot be written", errno);
    return false;
  }
  const std::string name = BaseName(target);
  FileLock lock(folder, name + ".lock", patience);
  if (!lock.held()) {
    *error = lock.error() == EWOULDBLOCK ? "stayed locked by another process"
                                         : SystemError("cannot be locked", lock.error());
    return false;
  }
  World current;
  struct stat existing;
  bool exists = true;
  switch (LoadOpenedState(folder.OpenFile(name, kReadFlags), &current, &existing, error)) {
    case StateLoad::kLoaded:
      break;
    case StateLoad::kMissing:
      current = fresh;
      exists = false;
      break;
    case StateLoad::kBad:
      return false;
  }
  World changed = current;
  bool keep = change(&changed);
  if (keep && !ReplaceState(folder, name, exists ? &existing : nullptr, changed, error)) {
    *world = current;
    return false;
  }
  *world = keep ? changed : current;
  return true;
}

std::string DefaultStatePath() {
  const char* state_home = getenv("XDG_STATE_HOME");
  std::string base;
  if (state_home && state_home[0] == '/') {
    base = state_home;
  } else {
    // A relative HOME would put the state wherever the run started.
    const char* home = getenv("HOME");
    if (!home || home[0] != '/')
      return std::string();
    base = std::string(home) + "/.local/state";
  }
  return base + "/wirenest/standin-world.json";
}

}  // namespace standin
