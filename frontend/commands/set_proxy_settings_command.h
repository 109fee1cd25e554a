// The options of set-proxy-settings.
#ifndef WNCTL_FRONTEND_COMMANDS_SET_PROXY_SETTINGS_COMMAND_H_
#define WNCTL_FRONTEND_COMMANDS_SET_PROXY_SETTINGS_COMMAND_H_

#include <vector>

#include "cmdline/option_parser.h"

// The parser's table, ended by its null row.
std::vector<OptionSpec> MakeProxyOptionTable();

#endif  // WNCTL_FRONTEND_COMMANDS_SET_PROXY_SETTINGS_COMMAND_H_
