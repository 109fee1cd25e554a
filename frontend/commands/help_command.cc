// The usage banner, the help command, the help blocks and the reference
// document.
#include <stdio.h>

#include <iostream>
#include <string>

#include "cmdline/help_markup.h"
#include "frontend/commands/command_line_zirodo.h"

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
  std::string text = std::string(g_idDeviceHelpText) + GetProgramFileName() +
                     " unlock-device 41-59";
  text = console ? FormatHelpText(text) : FormatHelpTextRst(text);
  printf("%s\n", text.c_str());
}

}  // namespace

int CCommandLineZirOdo::PrintUsage() {
  std::cout << "Frontend for " << GetLibraryFileName() << std::endl;
  std::cout << "Usage:" << std::endl;
  std::cout << "    " << GetProgramFileName() << " [COMMAND] [OPTIONS...]" << std::endl;
  std::cout << std::endl;
  // The command list itself is the base's.
  CCommandLineBase::PrintUsage();
  std::cout << "Run command 'help COMMAND' to get detailed help on specific command."
            << std::endl;
  return 0;
}

int CCommandLineZirOdo::OnHelp(ArgumentList& arguments) {
  if (arguments.empty())
    return PrintUsage();
  if (arguments.size() > 1) {
    std::cout << "ERROR: Expected only one argument or option." << std::endl;
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
    printf("ERROR: Unknown command %s\n", word.c_str());
    return 1;
  }
  return PrintCommandHelp(command);
}

int CCommandLineZirOdo::PrintHelpFor(const char* name) {
  auto command = FindCommand(name);
  if (command == commands_.end()) {
    std::cout << "Internal error: help for command `" << name << "` not found"
              << std::endl;
    return 2;
  }
  return PrintCommandHelp(command);
}

void CCommandLineZirOdo::PrintHelpAll() {
  PrintUsage();
  std::cout << std::endl;
  std::cout << kRule << std::endl;
  std::cout << std::endl;
  PrintIdDeviceHelp(true);
  std::cout << std::endl;
  std::cout << kRule << std::endl;
  for (auto command = commands_.begin(); command != commands_.end(); ++command) {
    std::cout << std::endl;
    PrintCommandHelp(command);
  }
}

void CCommandLineZirOdo::PrintHelpDoc() {
  printf(
      "Frontend for Wirenest ZirOdo Library\n"
      "====================================\n"
      "Usage::\n"
      "\n"
      "    %s [COMMAND] [OPTIONS...]\n"
      "\n"
      "Available commands\n"
      "------------------\n"
      "\n",
      GetProgramFileName().c_str());
  for (const CommandRecord& command : commands_) {
    printf(":ref:`%s <cli-%s>`\n", command.name.c_str(), command.name.c_str());
    printf("    %s\n\n", command.description.c_str());
  }
  printf("\n");
  PrintIdDeviceHelp(false);
  printf("\nCommands\n--------\n");
  for (const CommandRecord& command : commands_) {
    printf("\n.. _cli-%s:\n\n", command.name.c_str());
    printf("%s\n", command.name.c_str());
    printf("%s", (std::string(command.name.size(), '*') + "\n").c_str());
    printf("%s.\n", command.description.c_str());
    printf("\nUsage::\n\n    %s %s\n\n", GetProgramFileName().c_str(),
           command.usage.c_str());
    std::cout << FormatHelpTextRst(command.help) << std::endl;
    if (!command.alias.empty())
      printf("\nAlias: ``%s``\n", command.alias.c_str());
    printf("\n");
  }
}
