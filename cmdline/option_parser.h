// The table-driven parser of long options: "--name=value" or "--name value",
// any unambiguous leading part of a name, everything else positional.
#ifndef WNCTL_CMDLINE_OPTION_PARSER_H_
#define WNCTL_CMDLINE_OPTION_PARSER_H_

#include <list>
#include <string>
#include <utility>
#include <vector>

#include "cmdline/command_line_base.h"

// One row of an option table; a table ends with a row whose name is null.
struct OptionSpec {
  const char* name;  // the whole name, leading "--" included
  bool takes_value;
};

// (whole option name, value) pairs, each name once, in the order of the last
// occurrence of each name; a flag's value is empty.
typedef std::list<std::pair<std::string, std::string>> OptionValueList;

// Rows before the first null name among the first kMaxOptionRows; 0 when
// there is no table or no terminator within them.
const int kMaxOptionRows = 100;
int CountOptionRows(const OptionSpec* table);

// The option being parsed.
struct PendingOption {
  PendingOption(const OptionSpec* table, int row_count) : table(table), row_count(row_count) {}

  // Matches one "--" token against the table; false after printing the
  // misuse. `value_pending` is left set when the value is the next argument.
  bool ParseToken(const std::string& token);

  const OptionSpec* table;
  int row_count;
  bool value_pending = false;
  std::string name;
  std::string value;
};

class COptionParser {
 public:
  // The table is the caller's and must outlive the parser.
  explicit COptionParser(const OptionSpec* table)
      : table_(table), row_count_(CountOptionRows(table)) {}

  // Stops at the first misuse, printing its one error line; what was parsed
  // before it is kept.
  bool Parse(const ArgumentList& arguments);

  OptionValueList GetOptions() const { return options_; }
  std::vector<std::string> GetArguments() const { return arguments_; }

 private:
  // The last occurrence wins and moves to the end.
  void SetOption(const std::string& name, const std::string& value);

  const OptionSpec* table_;
  int row_count_;
  OptionValueList options_;
  std::vector<std::string> arguments_;
};

#endif  // WNCTL_CMDLINE_OPTION_PARSER_H_
