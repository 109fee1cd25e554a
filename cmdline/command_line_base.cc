#include "cmdline/command_line_base.h"

#include <string.h>

#include <algorithm>
#include <iostream>

#include "cmdline/help_markup.h"

int CCommandLineBase::PrintUsage() {
  std::cout << "Available commands:" << std::endl;
  int width = 0;
  for (const CommandRecord& command : commands_) {
    if (static_cast<int>(command.name.size()) > width)
      width = static_cast<int>(command.name.size());
  }
  for (const CommandRecord& command : commands_) {
    std::string name = command.name.c_str();
    name.resize(std::max(name.size(), static_cast<size_t>(width)), ' ');
    std::cout << "    " << name << "  " << command.description.c_str() << "\n";
  }
  std::cout << std::endl;
  return 0;
}

bool CCommandLineBase::AddCommand(const char* name, CommandHandler handler) {
  for (const CommandHelpRow* row = g_commandHelpTable; row->name; ++row) {
    if (strcmp(row->name, name) == 0) {
      commands_.push_back(CommandRecord{row->name, row->alias, row->description, row->usage,
                                        row->help, std::move(handler)});
      return true;
    }
  }
  return false;
}

CCommandLineBase::CommandList::const_iterator CCommandLineBase::FindCommand(
    const std::string& word) const {
  for (auto it = commands_.begin(); it != commands_.end(); ++it) {
    if (it->name == word)
      return it;
  }
  for (auto it = commands_.begin(); it != commands_.end(); ++it) {
    if (it->alias == word)
      return it;
  }
  return commands_.end();
}

int CCommandLineBase::Run(ArgumentList& arguments) {
  if (arguments.empty())
    return PrintUsage();
  std::string word = arguments.front();
  auto command = FindCommand(word);
  if (command == commands_.end()) {
    std::cout << "ERROR: Unknown command " << word.c_str() << "\n";
    return 1;
  }
  arguments.pop_front();
  return command->handler(arguments);
}

int CCommandLineBase::PrintCommandHelp(CommandList::const_iterator command) {
  std::cout << command->name.c_str();
  if (!command->alias.empty())
    std::cout << " (" << command->alias.c_str() << ")";
  std::cout << ": " << command->description.c_str() << ".\n";
  std::cout << "Usage: " << command->usage << std::endl;
  std::cout << IndentText(FormatHelpText(command->help)) << std::endl;
  return 0;
}
