// The user's choice of connection parameters, compression and automatic
// reconnection, read from the options and checked.
#ifndef WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_
#define WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_

#include <stdint.h>

#include <string>
#include <vector>

#include "cmdline/option_parser.h"
#include "frontend/library/connection_parameters_document.h"

// "--compression" (a value), "--auto-reconnect", "--no-auto-reconnect".
extern const OptionSpec kConnectionOptionTable[];
// "--compression" alone, for a connection already made.
extern const OptionSpec kChangeConnectionOptionTable[];

struct ConnectionChoice {
  std::string compression;  // empty when not given
  int32_t reconnect = kReconnectUnset;
};

// The last "--compression" value counts; of the two reconnect options the
// one given last wins.
ConnectionChoice ReadConnectionChoice(const OptionValueList& options);

// A command line of the connection commands once checked.
struct ConnectionArguments {
  std::vector<std::string> positional;
  ConnectionChoice choice;
};

// Parses the options over `table`, then checks that `expected` positional
// arguments were given (else prints `count_error`) and the compression. False
// after the misuse's line; the help block is the caller's.
bool ReadConnectionArguments(const OptionSpec* table, const ArgumentList& arguments,
                             size_t expected, const char* count_error, ConnectionArguments* result);

// Empty, "bestspeed", "bestsize" or "no", exactly.
bool IsValidCompression(const std::string& compression);

#endif  // WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_
