// Reports built on the library's status document, its e-mail and version.
#ifndef WNCTL_FRONTEND_REPORTS_STATUS_REPORTS_H_
#define WNCTL_FRONTEND_REPORTS_STATUS_REPORTS_H_

int ShowStatus();
int ShowWhoAmI();
int ShowVersion();

#endif  // WNCTL_FRONTEND_REPORTS_STATUS_REPORTS_H_
