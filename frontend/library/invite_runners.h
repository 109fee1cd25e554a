// The invites: sending one for a device of this account to another
// account's e-mail, and accepting or deleting one. Each runner checks the
// library's records before it sends anything and returns the exit code.
#ifndef WNCTL_FRONTEND_LIBRARY_INVITE_RUNNERS_H_
#define WNCTL_FRONTEND_LIBRARY_INVITE_RUNNERS_H_

#include <string>

int RunMakeInviteCommand(const std::string& id_device, const std::string& email);
int RunAcceptInviteCommand(const std::string& id_invite);
int RunDeleteInviteCommand(const std::string& id_invite);

// Equal lengths and equal bytes once A-Z are lowered; no other byte is
// folded, whatever the locale.
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

#endif  // WNCTL_FRONTEND_LIBRARY_INVITE_RUNNERS_H_
