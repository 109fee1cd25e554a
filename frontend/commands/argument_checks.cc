// The handlers of the commands without options: the count check of the
// fixed-count commands, the members that forward to it, and login.
#include "frontend/commands/command_line_zirodo.h"
#include "frontend/library/login.h"
#include "platform/console_output.h"

int CCommandLineZirOdo::RunFixedCount(const HandlerRow& row, ArgumentList& arguments) {
  if (arguments.size() != row.fixed.count) {
    PrintLine(row.fixed.error);
    PrintHelpFor(row.name);
    return 1;
  }
  return row.fixed.operation(arguments);
}

int CCommandLineZirOdo::RunFixedCount(MemberHandler member, ArgumentList& arguments) {
  const HandlerRow* row = kHandlers;
  while (row->name && row->member != member)
    ++row;
  return RunFixedCount(*row, arguments);
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
  return RunFixedCount(&CCommandLineZirOdo::OnSetCompName, arguments);
}

int CCommandLineZirOdo::OnLogout(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnLogout, arguments);
}

int CCommandLineZirOdo::OnDisconnectDevice(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnDisconnectDevice, arguments);
}

int CCommandLineZirOdo::OnSetDeviceDescription(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnSetDeviceDescription, arguments);
}

int CCommandLineZirOdo::OnClearDeviceDescription(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnClearDeviceDescription, arguments);
}

int CCommandLineZirOdo::OnLockDevice(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnLockDevice, arguments);
}

int CCommandLineZirOdo::OnUnlockDevice(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnUnlockDevice, arguments);
}

int CCommandLineZirOdo::OnSetComportName(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnSetComportName, arguments);
}

int CCommandLineZirOdo::OnClearComportName(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnClearComportName, arguments);
}

int CCommandLineZirOdo::OnForgetConnection(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnForgetConnection, arguments);
}

int CCommandLineZirOdo::OnSendInvite(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnSendInvite, arguments);
}

int CCommandLineZirOdo::OnAcceptInvite(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnAcceptInvite, arguments);
}

int CCommandLineZirOdo::OnDeleteInvite(ArgumentList& arguments) {
  return RunFixedCount(&CCommandLineZirOdo::OnDeleteInvite, arguments);
}
