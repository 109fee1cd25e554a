#include "wirenest/standin/state_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool ReplaceState(const std::string& target, const World& world, std::string* error) {
  const std::string temporary = target + ".tmp-" + std::to_string(getpid());
  FileDescriptor file(
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
  bool written = file.valid() && fchmod(file.get(), 0600) == 0 &&
                 WriteAll(file.get(), StyledJson(WorldToJson(world))) && fsync(file.get()) == 0 &&
                 file.Close();
  if (written && rename(temporary.c_str(), target.c_str()) == 0)
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

bool SaveState(const std::string& path, const World& world, std::string* error) {
  std::string target;
  return PrepareTarget(path, &target, error) && ReplaceState(target, world, error);
}

bool ChangeState(const std::string& path, const World& fresh,
                 const std::function<bool(World*)>& change, World* world, std::string* error) {
  std::string target;
  if (!PrepareTarget(path, &target, error))
    return false;
  FileLock lock(target + ".lock");
  if (!lock.held()) {
    *error = SystemError("cannot be locked", lock.error());
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
  *world = keep ? changed : current;
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
