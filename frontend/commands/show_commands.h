// The handlers of show-local, show-remote and show-invite.
#ifndef WNCTL_FRONTEND_COMMANDS_SHOW_COMMANDS_H_
#define WNCTL_FRONTEND_COMMANDS_SHOW_COMMANDS_H_

#include <string>

#include "cmdline/command_line_base.h"

int OnShowLocal(ArgumentList& arguments);
int OnShowRemote(ArgumentList& arguments);
int OnShowInvite(ArgumentList& arguments);

// Scans the whole-word options of the listing of `kind` ("local", "remote"
// or "other") and lists; returns the exit code.
int OnShowComputers(const std::string& kind, ArgumentList& arguments);

#endif  // WNCTL_FRONTEND_COMMANDS_SHOW_COMMANDS_H_
