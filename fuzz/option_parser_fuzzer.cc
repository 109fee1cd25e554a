// The long-option parser over any argument list and each command's table.
// The first byte picks the table; the rest, split at zero bytes, is the
// argument list.
#include <stdint.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "cmdline/option_parser.h"
#include "frontend/commands/compression.h"
#include "frontend/commands/set_proxy_settings_command.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_script.h"
#include "fuzz/standard_streams.h"

namespace {

const OptionSpec* FindRow(const OptionSpec* table, const std::string& name) {
  for (const OptionSpec* row = table; row->name; ++row) {
    if (name == row->name)
      return row;
  }
  return nullptr;
}

// `part` keeps the order of `whole` and takes each element at most once.
bool IsSubsequence(const std::vector<std::string>& part, const ArgumentList& whole) {
  auto next = whole.begin();
  for (const std::string& element : part) {
    next = std::find(next, whole.end(), element);
    if (next == whole.end())
      return false;
    ++next;
  }
  return true;
}

void CheckParse(const OptionSpec* table, const ArgumentList& arguments) {
  const ArgumentList original = arguments;
  COptionParser parser(table);
  BeginCapturingOutput();
  bool parsed = false;
  try {
    parsed = parser.Parse(arguments);
  } catch (...) {
    FuzzCheck(false, "the parser threw");
  }
  std::string output = TakeCapturedOutput();
  FuzzCheck(arguments == original, "the arguments were changed");

  if (parsed) {
    FuzzCheck(output.empty(), "a successful parse printed");
  } else {
    FuzzCheck(StartsWith(output, "ERROR: ") && IsWholeLines(output),
              "a misuse is not one whole error line");
  }

  std::set<std::string> names;
  for (const auto& option : parser.GetOptions()) {
    FuzzCheck(names.insert(option.first).second, "an option is stored twice");
    const OptionSpec* row = FindRow(table, option.first);
    FuzzCheck(row != nullptr, "a stored name is no row of the table");
    FuzzCheck(row->takes_value || option.second.empty(), "a flag has a value");
  }
  for (const std::string& argument : parser.GetArguments())
    FuzzCheck(argument.compare(0, 2, "--") != 0, "an option word is positional");
  FuzzCheck(IsSubsequence(parser.GetArguments(), arguments),
            "the positional arguments are not taken in order from the list");

  // A second parse starts afresh.
  OptionValueList options = parser.GetOptions();
  std::vector<std::string> positional = parser.GetArguments();
  BeginCapturingOutput();
  FuzzCheck(parser.Parse(arguments) == parsed, "a second parse ends otherwise");
  FuzzCheck(TakeCapturedOutput() == output, "a second parse prints otherwise");
  FuzzCheck(parser.GetOptions() == options && parser.GetArguments() == positional,
            "a second parse gives other results");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<OptionSpec> proxy_table = MakeProxyOptionTable();
  // connect-device and default-connect-parameters share theirs.
  static const OptionSpec* const tables[] = {
      kConnectionOptionTable,
      kConnectionOptionTable,
      kChangeConnectionOptionTable,
      proxy_table.data(),
  };
  if (size == 0)
    return 0;
  const OptionSpec* table = tables[data[0] % 4];
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckParse(table, SplitAtNul(text));
  return 0;
}
