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

StateLoad LoadState(const std::string& path, World* world, std::string* error) {
  std::string text;
  int read_error = 0;
  if (!ReadWholeFile(path, &text, &read_error)) {
    if (read_error == ENOENT) return StateLoad::kMissing;
    *error = std::string("cannot be read: ") + strerror(read_error);
    return StateLoad::kBad;
  }
  Json::Value json;
  if (!ParseJson(text, &json, error) || !WorldFromJson(json, "world", world, error))
    return StateLoad::kBad;
  return StateLoad::kLoaded;
}

bool SaveState(const std::string& path, const World& world) {
  if (!MakeDirectories(ParentDirectory(path))) return false;
  const std::string temporary = path + ".tmp-" + std::to_string(getpid());
  FileDescriptor file(
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
  bool written = file.valid() && fchmod(file.get(), 0600) == 0 &&
                 WriteAll(file.get(), StyledJson(WorldToJson(world))) &&
                 fsync(file.get()) == 0 && file.Close();
  if (written && rename(temporary.c_str(), path.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

std::string DefaultStatePath() {
  const char* state_home = getenv("XDG_STATE_HOME");
  std::string base;
  if (state_home && state_home[0] == '/') {
    base = state_home;
  } else {
    const char* home = getenv("HOME");
    if (!home || !home[0]) return std::string();
    base = std::string(home) + "/.local/state";
  }
  return base + "/wirenest/standin-world.json";
}

}  // namespace standin
