// The user's choice of connection parameters, compression and automatic
// reconnection, from the options to the document the library takes.
#ifndef WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_
#define WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_

#include <stdint.h>

#include <string>
#include <vector>

#include <json/value.h>

#include "cmdline/option_parser.h"

// "--compression" (a value), "--auto-reconnect", "--no-auto-reconnect".
extern const OptionSpec kConnectionOptionTable[];
// "--compression" alone, for a connection already made.
extern const OptionSpec kChangeConnectionOptionTable[];

// The reconnect choice: -1 when neither reconnect option was given.
const int32_t kReconnectUnset = -1;
const int32_t kReconnectOff = 0;
const int32_t kReconnectOn = 1;

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
                             size_t expected, const char* count_error,
                             ConnectionArguments* result);

// Empty, "bestspeed", "bestsize" or "no", exactly.
bool IsValidCompression(const std::string& compression);

// "compress" unless the compression is empty, "reconnect" as the string
// "true" or "false" unless unset; {} when neither.
Json::Value MakeConnectionParameters(const std::string& compression, int32_t reconnect);

#endif  // WNCTL_FRONTEND_COMMANDS_COMPRESSION_H_
