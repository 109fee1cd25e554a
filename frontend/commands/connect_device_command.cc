#include "frontend/commands/command_line_zirodo.h"
#include "frontend/commands/compression.h"
#include "frontend/library/connect_runner.h"

int CCommandLineZirOdo::OnConnectDevice(ArgumentList& arguments) {
  ConnectionArguments parsed;
  if (!ReadConnectionArguments(kConnectionOptionTable, arguments, 1,
                               "ERROR: expected 1 mandatory argument.", &parsed)) {
    PrintHelpFor("connect-device");
    return 1;
  }
  return RunConnectDeviceCommand(parsed.positional[0], parsed.choice.compression,
                                 parsed.choice.reconnect);
}
