// The handlers of the commands without options: count the arguments, then
// hand them to the command's operation.
#include "frontend/commands/command_line_zirodo.h"
#include "frontend/library/invite_runners.h"
#include "frontend/library/login.h"
#include "frontend/library/plain_runners.h"
#include "frontend/reports/proxy_settings_report.h"
#include "frontend/reports/status_reports.h"
#include "platform/console_output.h"

bool CCommandLineZirOdo::ExpectArguments(const ArgumentList& arguments, size_t count,
                                         const char* error, const char* command) {
  if (arguments.size() == count)
    return true;
  PrintLine(error);
  PrintHelpFor(command);
  return false;
}

namespace {

const char kNoArguments[] = "ERROR: No arguments expected.";
const char kOneArgument[] = "ERROR: 1 argument expected";
const char kTwoArguments[] = "ERROR: 2 arguments expected";

}  // namespace

int CCommandLineZirOdo::OnStatus(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 0, kNoArguments, "status"))
    return 1;
  return ShowStatus();
}

int CCommandLineZirOdo::OnLogin(ArgumentList& arguments) {
  std::string email;
  bool have_email = false;
  for (const std::string& word : arguments) {
    if (word.compare(0, 2, "--") == 0) {
      PrintLine("ERROR: unknown option " + word);
      PrintHelpFor("login");
      return 1;
    }
    if (have_email) {
      PrintLine("ERROR: extra arguments detected.");
      PrintHelpFor("login");
      return 1;
    }
    email = word;
    have_email = true;
  }
  if (email.empty()) {
    PrintLine("ERROR: expected at least 1 argument.");
    PrintHelpFor("login");
    return 1;
  }
  return LoginComputer(email);
}

int CCommandLineZirOdo::OnSetCompName(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 2, kTwoArguments, "set-comp-name"))
    return 1;
  return RunSetComputerNameCommand(arguments[0], arguments[1]);
}

int CCommandLineZirOdo::OnLogout(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, "ERROR: expected computer ID", "logout"))
    return 1;
  return RunLogoutComputerCommand(arguments[0]);
}

int CCommandLineZirOdo::OnDisconnectDevice(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "disconnect-device"))
    return 1;
  return RunDisconnectDeviceCommand(arguments[0]);
}

int CCommandLineZirOdo::OnSetDeviceDescription(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 2, kTwoArguments, "set-device-description"))
    return 1;
  return RunSetDeviceDescriptionCommand(arguments[0], arguments[1]);
}

int CCommandLineZirOdo::OnClearDeviceDescription(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "clear-device-description"))
    return 1;
  return RunSetDeviceDescriptionCommand(arguments[0], std::string());
}

int CCommandLineZirOdo::OnLockDevice(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "lock-device"))
    return 1;
  return RunLockDeviceCommand(arguments[0], true);
}

int CCommandLineZirOdo::OnUnlockDevice(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "unlock-device"))
    return 1;
  return RunLockDeviceCommand(arguments[0], false);
}

int CCommandLineZirOdo::OnSetComportName(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 2, kTwoArguments, "set-comport-name"))
    return 1;
  return RunSetComportNameCommand(arguments[0], arguments[1]);
}

int CCommandLineZirOdo::OnClearComportName(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "clear-comport-name"))
    return 1;
  return RunSetComportNameCommand(arguments[0], std::string());
}

int CCommandLineZirOdo::OnGetProxySettings(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 0, kNoArguments, "get-proxy-settings"))
    return 1;
  return ShowProxySettings();
}

int CCommandLineZirOdo::OnForgetConnection(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "forget-connection"))
    return 1;
  return RunForgetConnectionCommand(arguments[0]);
}

int CCommandLineZirOdo::OnSendInvite(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 2, kTwoArguments, "send-invite"))
    return 1;
  return RunMakeInviteCommand(arguments[0], arguments[1]);
}

int CCommandLineZirOdo::OnAcceptInvite(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "accept-invite"))
    return 1;
  return RunAcceptInviteCommand(arguments[0]);
}

int CCommandLineZirOdo::OnDeleteInvite(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 1, kOneArgument, "delete-invite"))
    return 1;
  return RunDeleteInviteCommand(arguments[0]);
}

int CCommandLineZirOdo::OnWhoAmI(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 0, kNoArguments, "whoami"))
    return 1;
  return ShowWhoAmI();
}

int CCommandLineZirOdo::OnVersion(ArgumentList& arguments) {
  if (!ExpectArguments(arguments, 0, kNoArguments, "version"))
    return 1;
  return ShowVersion();
}
