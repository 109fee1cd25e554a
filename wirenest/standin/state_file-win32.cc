#include "wirenest/standin/state_file.h"

#include "wirenest/standin/environment.h"

namespace standin {

const char kStatePlaceVariables[] = "WIRENEST_STATE nor LOCALAPPDATA";

std::string DefaultStatePath() {
  // Only a full path: a relative one would put the state wherever the run started.
  const std::string local = Environment("LOCALAPPDATA");
  if (!((local.size() >= 3 && local[1] == ':' && (local[2] == '\\' || local[2] == '/')) ||
        local.compare(0, 2, "\\\\") == 0))
    return std::string();
  return local + "\\wirenest\\standin-world.json";
}

}  // namespace standin
