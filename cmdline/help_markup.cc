#include "cmdline/help_markup.h"

std::string& ReplaceAll(std::string& text, const std::string& search,
                        const std::string& replacement) {
  size_t found = text.find(search);
  if (found == std::string::npos)
    return text;
  std::string result;
  size_t position = 0;
  while (found != std::string::npos) {
    result.append(text, position, found - position);
    result += replacement;
    position = found + search.size();
    found = text.find(search, position);
  }
  result.append(text, position, std::string::npos);
  text = result;
  return text;
}

std::string FormatHelpText(const std::string& text) {
  std::string result = text;
  ReplaceAll(result, "``", "");
  ReplaceAll(result, "::", ":");
  ReplaceAll(result, "<LF>", "");
  return result;
}

std::string FormatHelpTextRst(const std::string& text) {
  std::string result = text;
  ReplaceAll(result, "<LF>", "\n");
  return result;
}

std::string IndentText(const std::string& text) {
  const std::string indent = "    ";
  std::string result;
  size_t position = 0;
  size_t line_end;
  while (position < text.size() && (line_end = text.find('\n', position)) != std::string::npos) {
    result += indent;
    result.append(text, position, line_end + 1 - position);
    position = line_end + 1;
  }
  result += indent;
  if (position < text.size())
    result.append(text, position, std::string::npos);
  return result;
}
