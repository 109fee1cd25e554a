// The small markup of the long help texts: "<LF>" at a line start breaks a
// paragraph, double back-quotes mark literals, "::" opens a literal block.
#ifndef WNCTL_CMDLINE_HELP_MARKUP_H_
#define WNCTL_CMDLINE_HELP_MARKUP_H_

#include <string>

// Replaces every occurrence found in the original text; replacements are
// never searched again. `search` must not be empty.
std::string& ReplaceAll(std::string& text, const std::string& search,
                        const std::string& replacement);

// The console form: literals unmarked, "::" as ":", paragraph marks dropped.
std::string FormatHelpText(const std::string& text);

// The reStructuredText form: paragraph marks become empty lines.
std::string FormatHelpTextRst(const std::string& text);

// Four blanks before every line, also after a final line feed.
std::string IndentText(const std::string& text);

#endif  // WNCTL_CMDLINE_HELP_MARKUP_H_
