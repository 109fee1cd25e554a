// Text from the library as the console shows it: a name, an e-mail or an
// error text cannot end a line, move the cursor or send the terminal a
// command.
#ifndef WNCTL_FRONTEND_CONVERT_PRINTABLE_TEXT_H_
#define WNCTL_FRONTEND_CONVERT_PRINTABLE_TEXT_H_

#include <string>

// Each control character becomes a visible escape: line feed, tab and
// carriage return as \n, \t and \r, the rest of U+0000-U+001F and U+007F as
// \xHH, and U+0080-U+009F (two bytes in UTF-8) as \u00HH, with lowercase
// hexadecimal digits. Every other byte stays as it is, a backslash and
// invalid UTF-8 included.
std::string PrintableText(const std::string& text);
// The same, added to the end of `shown`, for a line made of several texts.
void AppendPrintableText(const std::string& text, std::string* shown);

#endif  // WNCTL_FRONTEND_CONVERT_PRINTABLE_TEXT_H_
