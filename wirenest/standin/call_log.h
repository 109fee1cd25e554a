// The call log: one compact JSON array a line, the function's name and then
// its inputs, so that tests can see exactly what the library was asked.
#ifndef WIRENEST_STANDIN_CALL_LOG_H_
#define WIRENEST_STANDIN_CALL_LOG_H_

#include <initializer_list>
#include <string>

#include <json/json.h>

namespace standin {

Json::Value Call(const char* function, std::initializer_list<Json::Value> inputs = {});
std::string CallLogLine(const Json::Value& call);  // ends with "\n"
// What the log shows instead of a password: its length in characters.
std::string PasswordPlaceholder(const std::string& password);

}  // namespace standin

#endif  // WIRENEST_STANDIN_CALL_LOG_H_
