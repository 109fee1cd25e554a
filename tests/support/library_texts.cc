#include "tests/support/library_texts.h"

#include "tests/support/json_text.h"

Json::Value CommandResult(uint32_t id, const std::string& error) {
  Json::Value answer;
  answer["event"] = "command_result";
  answer["id_cmd"] = id;
  answer["status"] = "finished";
  answer["result"]["error"] = error;
  return answer;
}

std::string CommandResultBatch(uint32_t id, const std::string& error) {
  return "[" + CompactJson(CommandResult(id, error)) + "]";
}

const char kLoginRequiredStatus[] = R"({"pipe":"connected","server":"login_required"})";

const char kIsOkCall[] = "[\"WN_IsOK\"]\n";
const char kGetStatusCall[] = "[\"WN_GetStatus\"]\n";
const char kStatusGateCalls[] = "[\"WN_IsOK\"]\n[\"WN_GetStatus\"]\n";
const char kSetEventCallbackCall[] = "[\"WN_SetEventCallback\"]\n";
const char kEventChannelCalls[] = "[\"WN_SetEventCallback\"]\n[\"WN_EnableEventsQueue\",1]\n";

std::string DevicesListCall(const std::string& computer) {
  Json::Value call(Json::arrayValue);
  call.append("WN_GetDevicesList");
  call.append(computer);
  return CompactJson(call) + "\n";
}
