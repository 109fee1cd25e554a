// The generic command machinery: commands registered from a static help
// table, looked up by name then alias, and dispatched one per run.
#ifndef WNCTL_CMDLINE_COMMAND_LINE_BASE_H_
#define WNCTL_CMDLINE_COMMAND_LINE_BASE_H_

#include <deque>
#include <functional>
#include <list>
#include <string>

// The command-line arguments after the program name, UTF-8.
typedef std::deque<std::string> ArgumentList;

// Takes the arguments after the command word, returns the exit code.
typedef std::function<int(ArgumentList&)> CommandHandler;

struct CommandHelpRow {
  const char* name;
  const char* alias;        // "" when the command has none
  const char* description;  // one line, no final period
  const char* usage;        // begins with the command name
  const char* help;         // help markup; "" when there is none
};

// Rows in registration order, ended by a row of null pointers.
extern const CommandHelpRow g_commandHelpTable[];

struct CommandRecord {
  std::string name;
  std::string alias;
  std::string description;
  std::string usage;
  std::string help;
  CommandHandler handler;
};

class CCommandLineBase {
 public:
  typedef std::list<CommandRecord> CommandList;

  CCommandLineBase() = default;
  virtual ~CCommandLineBase() = default;

  virtual int PrintUsage();
  virtual void RegisterCommands() {}

  // Registers the command whose row in g_commandHelpTable is named `name`;
  // false (and nothing registered) when the table has no such row.
  bool AddCommand(const char* name, CommandHandler handler);
  // Name first, then alias; commands().end() when nothing matches.
  CommandList::const_iterator FindCommand(const std::string& word) const;
  int Run(ArgumentList& arguments);

  static int PrintCommandHelp(CommandList::const_iterator command);

  const CommandList& commands() const { return commands_; }

 protected:
  CommandList commands_;
};

#endif  // WNCTL_CMDLINE_COMMAND_LINE_BASE_H_
