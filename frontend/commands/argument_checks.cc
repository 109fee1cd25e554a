// The count check shared by the fixed-count commands, whose operations live
// with their subjects, and the login command's own handler.
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
