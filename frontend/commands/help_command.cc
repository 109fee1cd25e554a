// The usage banner, the help command, the help blocks and the reference
// document.
#include <string>

#include "cmdline/help_markup.h"
#include "frontend/commands/command_line_zirodo.h"
#include "frontend/commands/file_names.h"
#include "platform/console_output.h"

namespace {

const char kRule[] = "==================================================";

// Ends inside a literal block, which PrintIdDeviceHelp completes with an
// example command line.
const char g_idDeviceHelpText[] =
    "ID_DEVICE\n"
    "---------\n"
    "All commands that perform actions on devices require ``ID_DEVICE`` - a two-part\n"
    "argument of the form {ID_COMP}-{IDx} that uniquely identifies the device\n"
    "and the computer that hosts it. Here:\n"
    "\n"
    "* ``ID_COMP`` is the ID of the computer;\n"
    "* ``IDx`` is the real ID of the device or the hash thereof.\n"
    "\n"
    "``ID_DEVICE`` can be determined by running the ``show-local``, ``show-remote``\n"
    "or ``show-invite`` commands and checking the value in their output's leftmost\n"
    "column. For instance, for ``show-local`` you may get::\n"
    "\n"
    "  41      Local computer: 'my-computer' (3 devices)\n"
    "          Devices:\n"
    "  41-59       USB-PS/2 Optical Mouse - LOCKED\n"
    "  41-66       USB Multimedia Keyboard - LOCKED\n"
    "  41-ad       USB to Serial\n"
    "\n"
    "Here:\n"
    "\n"
    "* ``41`` - is the ID of the local computer named \"my-computer\";\n"
    "* ``41-59`` - is ID_DEVICE of the mouse attached to the computer,\n"
    "  by which you can refer to this device in other commands.\n"
    "\n"
    "For instance, you could unlock the above device by running::\n"
    "\n"
    "    ";

void PrintIdDeviceHelp(bool console) {
  std::string text =
      std::string(g_idDeviceHelpText) + GetProgramFileName() + " unlock-device 41-59";
  text = console ? FormatHelpText(text) : FormatHelpTextRst(text);
  PrintLine(text);
}

}  // namespace

int CCommandLineZirOdo::PrintUsage() {
  PrintLine("Frontend for " + GetLibraryFileName());
  PrintLine("Usage:");
  PrintLine("    " + GetProgramFileName() + " [COMMAND] [OPTIONS...]");
  PrintLine("");
  // The command list itself is the base's.
  CCommandLineBase::PrintUsage();
  PrintLine("Run command 'help COMMAND' to get detailed help on specific command.");
  return 0;
}

int CCommandLineZirOdo::OnHelp(ArgumentList& arguments) {
  if (arguments.empty())
    return PrintUsage();
  if (arguments.size() > 1) {
    PrintLine("ERROR: Expected only one argument or option.");
    PrintHelpFor("help");
    return 1;
  }
  const std::string& word = arguments.front();
  if (word == "--all") {
    PrintHelpAll();
    return 0;
  }
  if (word == "--doc") {
    PrintHelpDoc();
    return 0;
  }
  if (word == "--id-device") {
    PrintIdDeviceHelp(true);
    return 0;
  }
  auto command = FindCommand(word);
  if (command == commands_.end()) {
    PrintLine("ERROR: Unknown command " + word);
    return 1;
  }
  return PrintCommandHelp(command);
}

int CCommandLineZirOdo::PrintHelpFor(const char* name) {
  auto command = FindCommand(name);
  if (command == commands_.end()) {
    PrintLine(std::string("Internal error: help for command `") + name + "` not found");
    return 2;
  }
  return PrintCommandHelp(command);
}

void CCommandLineZirOdo::PrintHelpAll() {
  PrintUsage();
  PrintLine("");
  PrintLine(kRule);
  PrintLine("");
  PrintIdDeviceHelp(true);
  PrintLine("");
  PrintLine(kRule);
  for (auto command = commands_.begin(); command != commands_.end(); ++command) {
    PrintLine("");
    PrintCommandHelp(command);
  }
}

void CCommandLineZirOdo::PrintHelpDoc() {
  std::string text =
      "Frontend for Wirenest ZirOdo Library\n"
      "====================================\n"
      "Usage::\n"
      "\n"
      "    " +
      GetProgramFileName() +
      " [COMMAND] [OPTIONS...]\n"
      "\n"
      "Available commands\n"
      "------------------\n"
      "\n";
  for (const CommandRecord& command : commands_) {
    text += ":ref:`" + command.name + " <cli-" + command.name + ">`\n";
    text += "    " + command.description + "\n\n";
  }
  PrintLine(text);
  PrintIdDeviceHelp(false);
  PrintText("\nCommands\n--------\n");
  for (const CommandRecord& command : commands_) {
    text = "\n.. _cli-" + command.name + ":\n\n";
    text += command.name + "\n";
    text += std::string(command.name.size(), '*') + "\n";
    text += command.description + ".\n";
    text += "\nUsage::\n\n    " + GetProgramFileName() + " " + command.usage + "\n\n";
    text += FormatHelpTextRst(command.help) + "\n";
    if (!command.alias.empty())
      text += "\nAlias: ``" + command.alias + "``\n";
    PrintLine(text);
  }
}
