// The listings of the account's computers and their devices: the dispatcher
// of the show commands and the local and remote reports.
#ifndef WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_
#define WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_

#include <string>

// `kind` is "local", "remote" or "other". Each returns the exit code.
int ShowComputers(const std::string& kind, bool devices, bool verbose, bool invites, bool online,
                  bool offline);
int ShowLocalComputer(bool devices, bool verbose, bool invites);
int ShowRemoteComputers(bool devices, bool verbose, bool invites, bool online, bool offline);
int ShowRemoteComputer(const std::string& computer_id, bool devices, bool verbose, bool invites);
int ShowComputerDevices(const std::string& computer_id, int expected_count, bool verbose,
                        bool local_computer, bool invites);

#endif  // WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_
