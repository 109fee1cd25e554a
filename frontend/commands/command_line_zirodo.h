// The front end's command object: the 26 commands and their handlers.
#ifndef WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_
#define WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_

#include <stddef.h>

#include "cmdline/command_line_base.h"

class CCommandLineZirOdo : public CCommandLineBase {
 public:
  typedef int (CCommandLineZirOdo::*MemberHandler)(ArgumentList& arguments);
  typedef int (*FreeHandler)(ArgumentList& arguments);
  // What a command of a fixed number of arguments does with them.
  typedef int (*Operation)(const ArgumentList& arguments);

  // The count check of such a command: another number of arguments prints
  // `error` and the command's help block instead of running `operation`.
  struct FixedCount {
    size_t count;
    const char* error;
    Operation operation;
  };

  // One row per command, in the order of g_commandHelpTable, ended by an
  // empty row. A command runs its member, or its free function, or else its
  // count check; the members of the fixed-count commands run the count
  // check of their own row, which each names.
  struct HandlerRow {
    const char* name;
    MemberHandler member;
    FreeHandler function;
    FixedCount fixed;
  };
  static const HandlerRow kHandlers[];

  // Declared first, so that the class's virtual table, which names both,
  // goes with the registration (which refers to every handler already)
  // rather than with the help, which every handler calls.
  void RegisterCommands() override;
  int PrintUsage() override;

  // The help block after a misuse: 0 when printed, 2 for an unknown name.
  int PrintHelpFor(const char* name);
  void PrintHelpAll();
  void PrintHelpDoc();

  int OnHelp(ArgumentList& arguments);
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
  int OnSetProxySettings(ArgumentList& arguments);
  int OnChangeExistingConnectionParams(ArgumentList& arguments);
  int OnForgetConnection(ArgumentList& arguments);
  int OnSendInvite(ArgumentList& arguments);
  int OnAcceptInvite(ArgumentList& arguments);
  int OnDeleteInvite(ArgumentList& arguments);

 private:
  // The count check of a row, then its operation; returns the exit code.
  int RunFixedCount(const HandlerRow& row, ArgumentList& arguments);
};

#endif  // WNCTL_FRONTEND_COMMANDS_COMMAND_LINE_ZIRODO_H_
