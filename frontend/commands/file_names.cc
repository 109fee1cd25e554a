#include "frontend/commands/file_names.h"

std::string GetProgramFileName() { return WNCTL_PROGRAM_FILE_NAME; }

std::string GetLibraryFileName() { return WNCTL_LIBRARY_FILE_NAME; }
