#include "frontend/commands/command_line_zirodo.h"

#include "frontend/commands/show_commands.h"

namespace {

typedef int (CCommandLineZirOdo::*MemberHandler)(ArgumentList&);
typedef int (*FreeHandler)(ArgumentList&);

struct HandlerRow {
  const char* name;
  // Exactly one is set: a member of the class or a free function.
  MemberHandler member;
  FreeHandler function;
};

// In the order of g_commandHelpTable, ended by an empty row.
const HandlerRow kHandlers[] = {
    {"help", &CCommandLineZirOdo::OnHelp, nullptr},
    {"status", &CCommandLineZirOdo::OnStatus, nullptr},
    {"login", &CCommandLineZirOdo::OnLogin, nullptr},
    {"show-local", nullptr, &OnShowLocal},
    {"show-remote", nullptr, &OnShowRemote},
    {"show-invite", nullptr, &OnShowInvite},
    {"set-comp-name", &CCommandLineZirOdo::OnSetCompName, nullptr},
    {"logout", &CCommandLineZirOdo::OnLogout, nullptr},
    {"connect-device", &CCommandLineZirOdo::OnConnectDevice, nullptr},
    {"disconnect-device", &CCommandLineZirOdo::OnDisconnectDevice, nullptr},
    {"default-connect-parameters", &CCommandLineZirOdo::OnDefaultConnectParameters, nullptr},
    {"set-device-description", &CCommandLineZirOdo::OnSetDeviceDescription, nullptr},
    {"clear-device-description", &CCommandLineZirOdo::OnClearDeviceDescription, nullptr},
    {"lock-device", &CCommandLineZirOdo::OnLockDevice, nullptr},
    {"unlock-device", &CCommandLineZirOdo::OnUnlockDevice, nullptr},
    {"set-comport-name", &CCommandLineZirOdo::OnSetComportName, nullptr},
    {"clear-comport-name", &CCommandLineZirOdo::OnClearComportName, nullptr},
    {"get-proxy-settings", &CCommandLineZirOdo::OnGetProxySettings, nullptr},
    {"set-proxy-settings", &CCommandLineZirOdo::OnSetProxySettings, nullptr},
    {"change-existing-connection-params", &CCommandLineZirOdo::OnChangeExistingConnectionParams, nullptr},
    {"forget-connection", &CCommandLineZirOdo::OnForgetConnection, nullptr},
    {"send-invite", &CCommandLineZirOdo::OnSendInvite, nullptr},
    {"accept-invite", &CCommandLineZirOdo::OnAcceptInvite, nullptr},
    {"delete-invite", &CCommandLineZirOdo::OnDeleteInvite, nullptr},
    {"whoami", &CCommandLineZirOdo::OnWhoAmI, nullptr},
    {"version", &CCommandLineZirOdo::OnVersion, nullptr},
    {nullptr, nullptr, nullptr},
};

}  // namespace

void CCommandLineZirOdo::RegisterCommands() {
  for (const HandlerRow* row = kHandlers; row->name; ++row) {
    if (row->member) {
      MemberHandler member = row->member;
      AddCommand(row->name, [this, member](ArgumentList& arguments) {
        return (this->*member)(arguments);
      });
    } else {
      AddCommand(row->name, row->function);
    }
  }
}

std::string GetProgramFileName() {
  return WNCTL_PROGRAM_FILE_NAME;
}

std::string GetLibraryFileName() {
  return WNCTL_LIBRARY_FILE_NAME;
}
