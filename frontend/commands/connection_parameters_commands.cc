#include <json/value.h>

#include "frontend/commands/command_line_zirodo.h"
#include "frontend/commands/compression.h"
#include "frontend/library/change_parameters_runner.h"
#include "frontend/reports/connect_parameters_report.h"

int CCommandLineZirOdo::OnDefaultConnectParameters(ArgumentList& arguments) {
  if (arguments.empty())
    return ShowDefaultConnectParameters();
  ConnectionArguments parsed;
  if (!ReadConnectionArguments(kConnectionOptionTable, arguments, 0,
                               "ERROR: extra arguments detected.", &parsed)) {
    PrintHelpFor("default-connect-parameters");
    return 1;
  }
  return ChangeDefaultConnectParameters(parsed.choice.compression, parsed.choice.reconnect);
}

int CCommandLineZirOdo::OnChangeExistingConnectionParams(ArgumentList& arguments) {
  ConnectionArguments parsed;
  if (!ReadConnectionArguments(kChangeConnectionOptionTable, arguments, 1,
                               "ERROR: expected at least 1 mandatory argument.", &parsed)) {
    PrintHelpFor("change-existing-connection-params");
    return 1;
  }
  // Unlike a new connection's parameters, "compress" is sent even when empty.
  Json::Value change(Json::objectValue);
  change["compress"] = parsed.choice.compression;
  return RunChangeExistingConnectionParametersCommand(parsed.positional[0], change);
}
