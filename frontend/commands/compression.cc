#include "frontend/commands/compression.h"

#include "platform/console_output.h"

const OptionSpec kConnectionOptionTable[] = {
    {"--compression", true},
    {"--auto-reconnect", false},
    {"--no-auto-reconnect", false},
    {nullptr, false},
};

const OptionSpec kChangeConnectionOptionTable[] = {
    {"--compression", true},
    {nullptr, false},
};

ConnectionChoice ReadConnectionChoice(const OptionValueList& options) {
  ConnectionChoice choice;
  for (const auto& option : options) {
    if (option.first == "--compression")
      choice.compression = option.second;
    else if (option.first == "--auto-reconnect")
      choice.reconnect = kReconnectOn;
    else if (option.first == "--no-auto-reconnect")
      choice.reconnect = kReconnectOff;
  }
  return choice;
}

bool IsValidCompression(const std::string& compression) {
  return compression.empty() || compression == "bestspeed" || compression == "bestsize" ||
         compression == "no";
}

bool ReadConnectionArguments(const OptionSpec* table, const ArgumentList& arguments,
                             size_t expected, const char* count_error,
                             ConnectionArguments* result) {
  COptionParser parser(table);
  if (!parser.Parse(arguments))
    return false;
  result->positional = parser.GetArguments();
  if (result->positional.size() != expected) {
    PrintLine(count_error);
    return false;
  }
  result->choice = ReadConnectionChoice(parser.GetOptions());
  if (!IsValidCompression(result->choice.compression)) {
    PrintLine("ERROR: wrong compression value.");
    return false;
  }
  return true;
}
