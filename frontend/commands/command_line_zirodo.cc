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

// The rows of the commands whose members run their count check: each member
// reaches its row by name.
constexpr CommandLine::HandlerRow kSetCompNameRow = {
    "set-comp-name",
    &CommandLine::OnSetCompName,
    nullptr,
    {2, kTwoArguments, [](Arguments a) { return RunSetComputerNameCommand(a[0], a[1]); }},
};
constexpr CommandLine::HandlerRow kLogoutRow = {
    "logout",
    &CommandLine::OnLogout,
    nullptr,
    {1, "ERROR: expected computer ID", [](Arguments a) { return RunLogoutComputerCommand(a[0]); }},
};
constexpr CommandLine::HandlerRow kDisconnectDeviceRow = {
    "disconnect-device",
    &CommandLine::OnDisconnectDevice,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunDisconnectDeviceCommand(a[0]); }},
};
constexpr CommandLine::HandlerRow kSetDeviceDescriptionRow = {
    "set-device-description",
    &CommandLine::OnSetDeviceDescription,
    nullptr,
    {2, kTwoArguments, [](Arguments a) { return RunSetDeviceDescriptionCommand(a[0], a[1]); }},
};
constexpr CommandLine::HandlerRow kClearDeviceDescriptionRow = {
    "clear-device-description",
    &CommandLine::OnClearDeviceDescription,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunSetDeviceDescriptionCommand(a[0], ""); }},
};
constexpr CommandLine::HandlerRow kLockDeviceRow = {
    "lock-device",
    &CommandLine::OnLockDevice,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunLockDeviceCommand(a[0], true); }},
};
constexpr CommandLine::HandlerRow kUnlockDeviceRow = {
    "unlock-device",
    &CommandLine::OnUnlockDevice,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunLockDeviceCommand(a[0], false); }},
};
constexpr CommandLine::HandlerRow kSetComportNameRow = {
    "set-comport-name",
    &CommandLine::OnSetComportName,
    nullptr,
    {2, kTwoArguments, [](Arguments a) { return RunSetComportNameCommand(a[0], a[1]); }},
};
constexpr CommandLine::HandlerRow kClearComportNameRow = {
    "clear-comport-name",
    &CommandLine::OnClearComportName,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunSetComportNameCommand(a[0], ""); }},
};
constexpr CommandLine::HandlerRow kForgetConnectionRow = {
    "forget-connection",
    &CommandLine::OnForgetConnection,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunForgetConnectionCommand(a[0]); }},
};
constexpr CommandLine::HandlerRow kSendInviteRow = {
    "send-invite",
    &CommandLine::OnSendInvite,
    nullptr,
    {2, kTwoArguments, [](Arguments a) { return RunMakeInviteCommand(a[0], a[1]); }},
};
constexpr CommandLine::HandlerRow kAcceptInviteRow = {
    "accept-invite",
    &CommandLine::OnAcceptInvite,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunAcceptInviteCommand(a[0]); }},
};
constexpr CommandLine::HandlerRow kDeleteInviteRow = {
    "delete-invite",
    &CommandLine::OnDeleteInvite,
    nullptr,
    {1, kOneArgument, [](Arguments a) { return RunDeleteInviteCommand(a[0]); }},
};

}  // namespace

const CommandLine::HandlerRow CommandLine::kHandlers[] = {
    {"help", &CommandLine::OnHelp, nullptr, {}},
    {"status", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowStatus(); }}},
    {"login", &CommandLine::OnLogin, nullptr, {}},
    {"show-local", nullptr, &OnShowLocal, {}},
    {"show-remote", nullptr, &OnShowRemote, {}},
    {"show-invite", nullptr, &OnShowInvite, {}},
    kSetCompNameRow,
    kLogoutRow,
    {"connect-device", &CommandLine::OnConnectDevice, nullptr, {}},
    kDisconnectDeviceRow,
    {"default-connect-parameters", &CommandLine::OnDefaultConnectParameters, nullptr, {}},
    kSetDeviceDescriptionRow,
    kClearDeviceDescriptionRow,
    kLockDeviceRow,
    kUnlockDeviceRow,
    kSetComportNameRow,
    kClearComportNameRow,
    {"get-proxy-settings",
     nullptr,
     nullptr,
     {0, kNoArguments, [](Arguments) { return ShowProxySettings(); }}},
    {"set-proxy-settings", &CommandLine::OnSetProxySettings, nullptr, {}},
    {"change-existing-connection-params",
     &CommandLine::OnChangeExistingConnectionParams,
     nullptr,
     {}},
    kForgetConnectionRow,
    kSendInviteRow,
    kAcceptInviteRow,
    kDeleteInviteRow,
    {"whoami", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowWhoAmI(); }}},
    {"version", nullptr, nullptr, {0, kNoArguments, [](Arguments) { return ShowVersion(); }}},
    {nullptr, nullptr, nullptr, {}},
};

int CommandLine::OnSetCompName(ArgumentList& arguments) {
  return RunFixedCount(kSetCompNameRow, arguments);
}

int CommandLine::OnLogout(ArgumentList& arguments) { return RunFixedCount(kLogoutRow, arguments); }

int CommandLine::OnDisconnectDevice(ArgumentList& arguments) {
  return RunFixedCount(kDisconnectDeviceRow, arguments);
}

int CommandLine::OnSetDeviceDescription(ArgumentList& arguments) {
  return RunFixedCount(kSetDeviceDescriptionRow, arguments);
}

int CommandLine::OnClearDeviceDescription(ArgumentList& arguments) {
  return RunFixedCount(kClearDeviceDescriptionRow, arguments);
}

int CommandLine::OnLockDevice(ArgumentList& arguments) {
  return RunFixedCount(kLockDeviceRow, arguments);
}

int CommandLine::OnUnlockDevice(ArgumentList& arguments) {
  return RunFixedCount(kUnlockDeviceRow, arguments);
}

int CommandLine::OnSetComportName(ArgumentList& arguments) {
  return RunFixedCount(kSetComportNameRow, arguments);
}

int CommandLine::OnClearComportName(ArgumentList& arguments) {
  return RunFixedCount(kClearComportNameRow, arguments);
}

int CommandLine::OnForgetConnection(ArgumentList& arguments) {
  return RunFixedCount(kForgetConnectionRow, arguments);
}

int CommandLine::OnSendInvite(ArgumentList& arguments) {
  return RunFixedCount(kSendInviteRow, arguments);
}

int CommandLine::OnAcceptInvite(ArgumentList& arguments) {
  return RunFixedCount(kAcceptInviteRow, arguments);
}

int CommandLine::OnDeleteInvite(ArgumentList& arguments) {
  return RunFixedCount(kDeleteInviteRow, arguments);
}

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
