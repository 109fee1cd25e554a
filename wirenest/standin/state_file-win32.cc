#include "wirenest/standin/state_file.h"

#include <stdlib.h>

namespace standin {

const char kStatePlaceVariables[] = "WIRENEST_STATE nor LOCALAPPDATA";

std::string DefaultStatePath() {
  // Only a full path: a relative one would put the state wherever the run started.
  const char* local = getenv("LOCALAPPDATA");
  if (!local || !((local[0] && local[1] == ':' && (local[2] == '\\' || local[2] == '/')) ||
                  (local[0] == '\\' && local[1] == '\\')))
    return std::string();
  return std::string(local) + "\\wirenest\\standin-world.json";
}

}  // namespace standin
