#include "wirenest/standin/call_log.h"

#include "wirenest/standin/json_text.h"

namespace standin {

Json::Value Call(const char* function, std::initializer_list<Json::Value> inputs) {
  Json::Value call(Json::arrayValue);
  call.append(function);
  for (const Json::Value& input : inputs)
    call.append(input);
  return call;
}

std::string CallLogLine(const Json::Value& call) { return CompactJson(call) + "\n"; }

std::string PasswordPlaceholder(const std::string& password) {
  size_t characters = 0;
  for (unsigned char byte : password)
    if ((byte & 0xC0) != 0x80)
      ++characters;
  return "<password: " + std::to_string(characters) + " characters>";
}

}  // namespace standin
