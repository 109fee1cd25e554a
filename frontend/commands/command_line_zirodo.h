// The front end's command object: the 26 commands and their handlers.
#ifndef WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_
#define WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_

#include "cmdline/command_line_base.h"

class CCommandLineZirOdo : public CCommandLineBase {
 public:
  int PrintUsage() override;
  void RegisterCommands() override;

  // The help block after a misuse: 0 when printed, 2 for an unknown name.
  int PrintHelpFor(const char* name);
  void PrintHelpAll();
  void PrintHelpDoc();

  int OnHelp(ArgumentList& arguments);
  int OnStatus(ArgumentList& arguments);
  int OnLogin(ArgumentList& arguments);
  int OnSetCompName(ArgumentList& arguments);
  int OnLogout(ArgumentList& arguments);
  int OnConnectDevice(ArgumentList& arguments);
  int OnDisconnectDevice(ArgumentList& arguments);
  int OnDefaultConnectParameters(ArgumentList& arguments);
  int OnSetDeviceDescription(ArgumentList& arguments);
  int OnClearDeviceDescription(ArgumentList& arguments);
  int OnLockDevice(ArgumentList& arguments);
  int OnUnlockDevice(ArgumentList& arguments);
  int OnSetComportName(ArgumentList& arguments);
  int OnClearComportName(ArgumentList& arguments);
  int OnGetProxySettings(ArgumentList& arguments);
  int OnSetProxySettings(ArgumentList& arguments);
  int OnChangeExistingConnectionParams(ArgumentList& arguments);
  int OnForgetConnection(ArgumentList& arguments);
  int OnSendInvite(ArgumentList& arguments);
  int OnAcceptInvite(ArgumentList& arguments);
  int OnDeleteInvite(ArgumentList& arguments);
  int OnWhoAmI(ArgumentList& arguments);
  int OnVersion(ArgumentList& arguments);

 private:
  // True when exactly `count` arguments were given; otherwise prints the
  // error line and the command's help block.
  bool ExpectArguments(const ArgumentList& arguments, size_t count,
                       const char* error, const char* command);
};

// The build's own file names, printed by the banner and the reference.
std::string GetProgramFileName();
std::string GetLibraryFileName();

#endif  // WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_
