#include "wirenest/standin/state_file.h"

#include <stdlib.h>

namespace standin {

const char kStatePlaceVariables[] = "WIRENEST_STATE, XDG_STATE_HOME nor HOME";

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
