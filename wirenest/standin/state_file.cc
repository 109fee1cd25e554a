#include "wirenest/standin/state_file.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "wirenest/standin/files.h"
#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_json.h"

namespace standin {

namespace {

// Far beyond any world a person keeps; /dev/zero and the like end here.
const size_t kLargestState = 64 << 20;

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

StateLoad ReadWorld(FileRead read, const std::string& text, World* world, std::string* error) {
  if (read != FileRead::kRead)
    return read == FileRead::kMissing ? StateLoad::kMissing : StateLoad::kBad;
  Json::Value json;
  if (!ParseJson(text, &json, error) || !WorldFromJson(json, "world", world, error) ||
      !IsWorldShaped(json, error))
    return StateLoad::kBad;
  return StateLoad::kLoaded;
}

}  // namespace

StateLoad LoadState(const std::string& path, World* world, std::string* error) {
  std::string text;
  return ReadWorld(ReadRegularFile(path, kLargestState, &text, error), text, world, error);
}

bool ChangeState(const std::string& path, const World& fresh,
                 const std::function<bool(World*)>& change, std::chrono::milliseconds patience,
                 World* world, std::string* error) {
  // Every step below goes through the folder held open, and none follows a
  // link: the file changed is the one that was read, in the folder found.
  Folder folder;
  std::string name;
  if (!folder.OpenForFile(path, true, &name, error))
    return false;
  FileLock lock(folder, name + ".lock", patience);
  if (!lock.held()) {
    *error = lock.error();
    return false;
  }
  World current;
  std::string text;
  FileKeeps keeps;
  switch (ReadWorld(folder.ReadRegularFile(name, kLargestState, &text, &keeps, error), text,
                    &current, error)) {
    case StateLoad::kLoaded:
      break;
    case StateLoad::kMissing:
      current = fresh;
      keeps = FileKeeps();
      break;
    case StateLoad::kBad:
      return false;
  }
  World changed = current;
  bool keep = change(&changed);
  if (keep) {
    text = StyledJson(WorldToJson(changed));
    if (text.size() > kLargestState) {
      *error = "cannot be written: the world would be larger than 64 MiB, too large to read back";
      *world = current;
      return false;
    }
    if (!folder.SaveFile(name, text, keeps, error)) {
      *world = current;
      return false;
    }
  }
  // Moved: once the file is replaced, nothing may fail for lack of memory.
  *world = keep ? std::move(changed) : std::move(current);
  return true;
}

}  // namespace standin
