#include "cmdline/option_parser.h"

#include <algorithm>
#include <iostream>

int CountOptionRows(const OptionSpec* table) {
  if (!table)
    return 0;
  for (int row = 0; row < kMaxOptionRows; ++row) {
    if (!table[row].name)
      return row;
  }
  return 0;
}

namespace {

bool IsOptionWord(const std::string& argument) { return argument.compare(0, 2, "--") == 0; }

}  // namespace

bool PendingOption::ParseToken(const std::string& token) {
  std::string key = token;
  std::string value_part;
  bool has_value = false;
  std::string::size_type equals = token.find('=');
  if (equals != std::string::npos) {
    if (equals < 3) {
      std::cout << "ERROR: wrong option: " << token.c_str() << "\n";
      return false;
    }
    key = token.substr(0, equals);
    value_part = token.substr(equals + 1);
    has_value = true;
  }
  value_pending = !has_value;

  std::vector<const OptionSpec*> matches;
  for (int row = 0; row < row_count; ++row) {
    if (std::string(table[row].name).compare(0, key.size(), key) == 0)
      matches.push_back(&table[row]);
  }
  if (matches.empty()) {
    std::cout << "ERROR: unknown option: " << token.c_str() << "\n";
    return false;
  }
  if (matches.size() > 1) {
    std::cout << "ERROR: multiple matches to option " << token.c_str() << " (";
    for (size_t i = 0; i < matches.size(); ++i)
      std::cout << (i ? ", " : "") << matches[i]->name;
    std::cout << ")\n";
    return false;
  }

  const OptionSpec& match = *matches.front();
  name = match.name;
  value.clear();
  if (!match.takes_value) {
    if (has_value) {
      std::cout << "ERROR: option " << name.c_str()
                << " should not have value, but got: " << token.c_str() << "\n";
      return false;
    }
    value_pending = false;
    return true;
  }
  if (has_value)
    value = value_part;
  return true;
}

bool COptionParser::Parse(const ArgumentList& arguments) {
  options_.clear();
  arguments_.clear();
  PendingOption pending(table_, row_count_);
  for (const std::string& argument : arguments) {
    bool option_word = IsOptionWord(argument);
    if (pending.value_pending) {
      if (option_word) {
        std::cout << "ERROR: option " << pending.name.c_str() << " is expecting value\n";
        return false;
      }
      SetOption(pending.name, argument);
      pending.value_pending = false;
    } else if (option_word) {
      if (!pending.ParseToken(argument))
        return false;
      if (!pending.value_pending)
        SetOption(pending.name, pending.value);
    } else {
      arguments_.push_back(argument);
    }
  }
  if (pending.value_pending) {
    std::cout << "ERROR: last option " << pending.name.c_str()
              << " expected value but command line is suddenly terminated.\n";
    return false;
  }
  return true;
}

void COptionParser::SetOption(const std::string& name, const std::string& value) {
  auto same = std::find_if(
      options_.begin(), options_.end(),
      [&name](const OptionValueList::value_type& option) { return option.first == name; });
  if (same != options_.end())
    options_.erase(same);
  options_.emplace_back(name, value);
}
