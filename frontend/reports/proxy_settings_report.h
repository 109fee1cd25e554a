#ifndef WNCTL_FRONTEND_REPORTS_PROXY_SETTINGS_REPORT_H_
#define WNCTL_FRONTEND_REPORTS_PROXY_SETTINGS_REPORT_H_

// The proxy settings with the password masked; returns the exit code.
int ShowProxySettings();

#endif  // WNCTL_FRONTEND_REPORTS_PROXY_SETTINGS_REPORT_H_
