// The library's default connection parameters: shown, or set in one
// synchronous call. No state gate.
#ifndef WNCTL_FRONTEND_REPORTS_CONNECT_PARAMETERS_REPORT_H_
#define WNCTL_FRONTEND_REPORTS_CONNECT_PARAMETERS_REPORT_H_

#include <stdint.h>

#include <string>

int ShowDefaultConnectParameters();

// `compression` empty, "bestspeed", "bestsize" or "no"; `reconnect` -1, 0
// or 1. Returns the exit code.
int ChangeDefaultConnectParameters(const std::string& compression, int32_t reconnect);

#endif  // WNCTL_FRONTEND_REPORTS_CONNECT_PARAMETERS_REPORT_H_
