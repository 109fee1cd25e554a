#include "frontend/commands/show_commands.h"

#include "frontend/reports/computer_listings.h"
#include "platform/console_output.h"

namespace {

struct ShowFlags {
  bool devices = true;
  bool verbose = false;
  bool invites = true;
  bool online = false;
  bool offline = false;
};

// The whole-word options; `refused_by` names the one kind that lacks it.
struct ShowOption {
  const char* word;
  const char* refused_by;
  bool ShowFlags::*flag;
  bool value;
};

const ShowOption kShowOptions[] = {
    {"--no-devices", nullptr, &ShowFlags::devices, false},
    {"--verbose", nullptr, &ShowFlags::verbose, true},
    {"--online", "local", &ShowFlags::online, true},
    {"--offline", "local", &ShowFlags::offline, true},
    {"--no-invites", "other", &ShowFlags::invites, false},
    {nullptr, nullptr, nullptr, false},
};

const ShowOption* FindShowOption(const std::string& kind, const std::string& word) {
  for (const ShowOption* option = kShowOptions; option->word; ++option) {
    if (word == option->word && !(option->refused_by && kind == option->refused_by))
      return option;
  }
  return nullptr;
}

}  // namespace

int OnShowLocal(ArgumentList& arguments) { return OnShowComputers("local", arguments); }
int OnShowRemote(ArgumentList& arguments) { return OnShowComputers("remote", arguments); }
int OnShowInvite(ArgumentList& arguments) { return OnShowComputers("other", arguments); }

int OnShowComputers(const std::string& kind, ArgumentList& arguments) {
  ShowFlags flags;
  for (const std::string& argument : arguments) {
    if (argument.compare(0, 2, "--") != 0) {
      PrintLine("ERROR: extra arguments detected.");
      return 1;
    }
    const ShowOption* option = FindShowOption(kind, argument);
    if (!option) {
      PrintLine("ERROR: unknown option " + argument);
      return 1;
    }
    flags.*option->flag = option->value;
  }
  if (!flags.online && !flags.offline)
    flags.online = flags.offline = true;
  return ShowComputers(kind, flags.devices, flags.verbose, flags.invites, flags.online,
                       flags.offline);
}
