// The listing of show-invite: the computers of other accounts that offer
// devices to this account through connection invites, and those devices.
#ifndef WNCTL_FRONTEND_REPORTS_INVITE_LISTING_H_
#define WNCTL_FRONTEND_REPORTS_INVITE_LISTING_H_

#include <string>

// Each returns the exit code.
int ShowInviteComputers(bool devices, bool verbose, bool online, bool offline);
int ShowInviteComputer(const std::string& computer_id, bool devices, bool verbose);
int ShowInvitedDevices(const std::string& computer_id, int expected_count, bool verbose);

#endif  // WNCTL_FRONTEND_REPORTS_INVITE_LISTING_H_
