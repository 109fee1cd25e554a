#include "frontend/commands/command_line_zirodo.h"

#include "frontend/commands/show_commands.h"
#include "frontend/library/invite_runners.h"
#include "frontend/library/plain_runners.h"
#include "frontend/reports/proxy_settings_report.h"
#include "frontend/reports/status_reports.h"

namespace {

typedef CCommandLineZirOdo CommandLine;
typedef const ArgumentList& Arguments;

const char kNoArguments[] = "ERROR: No arguments expected.";
const char kOneArgument[] = "ERROR: 1 argument expected";
const char kTwoArguments[] = "ERROR: 2 arguments expected";

}  // namespace

const CommandLine::HandlerRow CommandLine::kHandlers[] = {
    {"help", &CommandLine::OnHelp, nullptr, {}},
    {"status", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowStatus(); }}},
    {"login", &CommandLine::OnLogin, nullptr, {}},
    {"show-local", nullptr, &OnShowLocal, {}},
    {"show-remote", nullptr, &OnShowRemote, {}},
    {"show-invite", nullptr, &OnShowInvite, {}},
    {"set-comp-name",
     &CommandLine::OnSetCompName,
     nullptr,
     {2, kTwoArguments, [](Arguments a) { return RunSetComputerNameCommand(a[0], a[1]); }}},
    {"logout",
     &CommandLine::OnLogout,
     nullptr,
     {1, "ERROR: expected computer ID",
      [](Arguments a) { return RunLogoutComputerCommand(a[0]); }}},
    {"connect-device", &CommandLine::OnConnectDevice, nullptr, {}},
    {"disconnect-device",
     &CommandLine::OnDisconnectDevice,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunDisconnectDeviceCommand(a[0]); }}},
    {"default-connect-parameters", &CommandLine::OnDefaultConnectParameters, nullptr, {}},
    {"set-device-description",
     &CommandLine::OnSetDeviceDescription,
     nullptr,
     {2, kTwoArguments, [](Arguments a) { return RunSetDeviceDescriptionCommand(a[0], a[1]); }}},
    {"clear-device-description",
     &CommandLine::OnClearDeviceDescription,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunSetDeviceDescriptionCommand(a[0], ""); }}},
    {"lock-device",
     &CommandLine::OnLockDevice,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunLockDeviceCommand(a[0], true); }}},
    {"unlock-device",
     &CommandLine::OnUnlockDevice,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunLockDeviceCommand(a[0], false); }}},
    {"set-comport-name",
     &CommandLine::OnSetComportName,
     nullptr,
     {2, kTwoArguments, [](Arguments a) { return RunSetComportNameCommand(a[0], a[1]); }}},
    {"clear-comport-name",
     &CommandLine::OnClearComportName,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunSetComportNameCommand(a[0], ""); }}},
    {"get-proxy-settings",
     nullptr,
     nullptr,
     {0, kNoArguments, [](Arguments) { return ShowProxySettings(); }}},
    {"set-proxy-settings", &CommandLine::OnSetProxySettings, nullptr, {}},
    {"change-existing-connection-params",
     &CommandLine::OnChangeExistingConnectionParams,
     nullptr,
     {}},
    {"forget-connection",
     &CommandLine::OnForgetConnection,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunForgetConnectionCommand(a[0]); }}},
    {"send-invite",
     &CommandLine::OnSendInvite,
     nullptr,
     {2, kTwoArguments, [](Arguments a) { return RunMakeInviteCommand(a[0], a[1]); }}},
    {"accept-invite",
     &CommandLine::OnAcceptInvite,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunAcceptInviteCommand(a[0]); }}},
    {"delete-invite",
     &CommandLine::OnDeleteInvite,
     nullptr,
     {1, kOneArgument, [](Arguments a) { return RunDeleteInviteCommand(a[0]); }}},
    {"whoami", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowWhoAmI(); }}},
    {"version", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowVersion(); }}},
    {nullptr, nullptr, nullptr, {}},
};

void CCommandLineZirOdo::RegisterCommands() {
  for (const HandlerRow* row = kHandlers; row->name; ++row) {
    if (row->member) {
      MemberHandler member = row->member;
      AddCommand(row->name,
                 [this, member](ArgumentList& arguments) { return (this->*member)(arguments); });
    } else if (row->function) {
      AddCommand(row->name, row->function);
    } else {
      AddCommand(row->name,
                 [this, row](ArgumentList& arguments) { return RunFixedCount(*row, arguments); });
    }
  }
}

std::string GetProgramFileName() { return WNCTL_PROGRAM_FILE_NAME; }

std::string GetLibraryFileName() { return WNCTL_LIBRARY_FILE_NAME; }
