// The file that keeps the world between runs, in the world's JSON form. It
// holds the proxy password, so it is written with mode 0600; the account's
// password is in it only as a salted digest.
#ifndef WIRENEST_STANDIN_STATE_FILE_H_
#define WIRENEST_STANDIN_STATE_FILE_H_

#include <string>

#include "wirenest/standin/world.h"

namespace standin {

enum class StateLoad { kLoaded, kMissing, kBad };

// kBad comes with *error saying what is wrong with the file.
StateLoad LoadState(const std::string& path, World* world, std::string* error);
// Writes a temporary file beside it and renames it over, so that a reader
// never sees half a world; missing directories are made with mode 0700.
bool SaveState(const std::string& path, const World& world);
// $XDG_STATE_HOME/wirenest/standin-world.json, or under ~/.local/state;
// empty when neither is known.
std::string DefaultStatePath();

}  // namespace standin

#endif  // WIRENEST_STANDIN_STATE_FILE_H_
