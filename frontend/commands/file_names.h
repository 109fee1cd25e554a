// The build's own file names, printed by the banner and the reference.
#ifndef WNCTL_FRONTEND_COMMANDS_FILE_NAMES_H_
#define WNCTL_FRONTEND_COMMANDS_FILE_NAMES_H_

#include <string>

std::string GetProgramFileName();
std::string GetLibraryFileName();

#endif  // WNCTL_FRONTEND_COMMANDS_FILE_NAMES_H_
