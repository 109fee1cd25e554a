// The file that keeps the world between runs, in the world's JSON form. It
// holds the proxy password, so it is written with mode 0600; the account's
// password is in it only as a salted digest.
#ifndef WIRENEST_STANDIN_STATE_FILE_H_
#define WIRENEST_STANDIN_STATE_FILE_H_

#include <chrono>
#include <functional>
#include <string>

#include "wirenest/standin/world.h"

namespace standin {

enum class StateLoad { kLoaded, kMissing, kBad };

// kBad comes with *error saying what is wrong with the file; one that is not
// a regular file of sane size is refused without waiting on it, and so is
// JSON that is not a world as the stand-in writes one (other members, or
// one missing), so that no save replaces it.
StateLoad LoadState(const std::string& path, World* world, std::string* error);
// Holds a lock beside the file, which every process changing it takes, from
// reading the world on disk (`fresh` when there is none) until the changed
// world replaces it, so that no process loses another's change; a lock held
// elsewhere longer than `patience` fails the change. `change` alters the
// world and says whether to keep it. The kept world is written to a
// temporary file beside the file a symbolic link leads to and renamed over
// that, so that a reader never sees half a world and the link stays; the
// file keeps its owner, group and permission bits, and a new one gets mode
// 0600 in missing directories made with mode 0700; in another user's folder
// the work is done with that user's rights as Folder::Open has it. Once the
// folder is found, every step works in that folder and follows no link. A
// path that can name only a folder is refused. *world becomes the world on disk
// afterwards. False with *error when the file cannot be read or the change
// not be kept (nor read back); the file is then unchanged.
bool ChangeState(const std::string& path, const World& fresh,
                 const std::function<bool(World*)>& change, std::chrono::milliseconds patience,
                 World* world, std::string* error);
// $XDG_STATE_HOME/wirenest/standin-world.json, or under ~/.local/state;
// empty when neither is known as an absolute path.
std::string DefaultStatePath();
// The variables DefaultStatePath() reads, after WIRENEST_STATE, for the line
// that says none is set: "WIRENEST_STATE, XDG_STATE_HOME nor HOME".
extern const char kStatePlaceVariables[];

}  // namespace standin

#endif  // WIRENEST_STANDIN_STATE_FILE_H_
