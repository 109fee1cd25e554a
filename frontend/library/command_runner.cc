#include "frontend/library/command_runner.h"

#include <stdint.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/printable_text.h"
#include "frontend/devices/device_aliases.h"
#include "frontend/library/event_channel.h"
#include "frontend/library/service_state.h"
#include "platform/console_output.h"

const RunnerMessages kPlainRunnerMessages = {
    "ERROR: Can't execute command.",
    "ERROR: command is not responding.",
    "ERROR: no answer on command.",
    "ERROR: answer on wrong command received.",
    "ERROR: invalid answer on command.",
    "ERROR: operation timeout",
    "Success",
    "ERROR: command finished with error: ",
};

bool ReadCommandId(const Json::Value& value, WN_CommandId* id) {
  const int64_t kLowest = INT32_MIN;
  const int64_t kHighest = UINT32_MAX;
  int64_t number = 0;
  switch (value.type()) {
    case Json::nullValue:
      break;
    case Json::booleanValue:
      number = value.asBool() ? 1 : 0;
      break;
    case Json::intValue:
      if (value.asLargestInt() < kLowest || value.asLargestInt() > kHighest)
        return false;
      number = value.asLargestInt();
      break;
    case Json::uintValue:
      if (value.asLargestUInt() > static_cast<Json::LargestUInt>(kHighest))
        return false;
      number = static_cast<int64_t>(value.asLargestUInt());
      break;
    case Json::realValue:
      if (!(value.asDouble() >= kLowest && value.asDouble() <= kHighest))
        return false;
      number = static_cast<int64_t>(value.asDouble());
      break;
    case Json::stringValue:
      // Beyond the range a text clamps as the integer reading of a text does.
      number = ParseLeadingInteger(value.asString(), kLowest - 1, kHighest + 1);
      if (number < kLowest)
        number = INT32_MIN;
      else if (number > kHighest)
        number = INT32_MAX;
      break;
    case Json::arrayValue:
    case Json::objectValue:
      return false;
  }
  // Signed and unsigned readings of one id meet in its 32-bit value.
  *id = static_cast<WN_CommandId>(static_cast<uint32_t>(number));
  return true;
}

AnswerOutcome CheckCommandAnswer(const Json::Value& answer, WN_CommandId id, std::string* error) {
  if (!answer.isObject())
    return AnswerOutcome::NoAnswer;
  WN_CommandId answered;
  if (!ReadCommandId(JsonMember(answer, "id_cmd"), &answered) || answered != id)
    return AnswerOutcome::WrongCommand;
  std::string status = JsonMemberText(answer, "status");
  error->clear();
  if (status == "finished") {
    const Json::Value& result = JsonMember(answer, "result");
    if (!result.isObject())
      return AnswerOutcome::InvalidAnswer;
    *error = JsonMemberText(result, "error");
  } else if (status == "timeout") {
    return AnswerOutcome::Timeout;
  }
  return *error == "OK" ? AnswerOutcome::Success : AnswerOutcome::FinishedWithError;
}

bool PassGateAndResolveDevice(const std::string& id_device, std::string* id_comp,
                              std::string* device_id) {
  return PassLoggedInGate() && ResolveDeviceId(id_device, id_comp, device_id);
}

bool PrepareEventChannel() {
  if (EnableLibraryEvents())
    return true;
  PrintLine("ERROR: internal engine error.");
  return false;
}

int SendAndCheckAnswer(const std::function<WN_CommandId()>& send, uint32_t timeout_ms,
                       const RunnerMessages& messages, std::string* error) {
  PrepareForCommandResult();
  WN_CommandId id = send();
  if (id == 0) {
    PrintLine(messages.not_started);
    return 1;
  }
  if (!WaitForCommandResult(timeout_ms)) {
    PrintLine(messages.not_responding);
    return 1;
  }
  std::string answer_error;
  switch (CheckCommandAnswer(TakeCommandResult(), id, &answer_error)) {
    case AnswerOutcome::NoAnswer:
      PrintLine(messages.no_answer);
      return 1;
    case AnswerOutcome::WrongCommand:
      PrintLine(messages.wrong_command);
      return 1;
    case AnswerOutcome::InvalidAnswer:
      PrintLine(messages.invalid_answer);
      return 1;
    case AnswerOutcome::Timeout:
      PrintLine(messages.timeout);
      return 1;
    case AnswerOutcome::FinishedWithError:
      if (error)
        *error = answer_error;
      PrintLine(messages.finished_with_error + PrintableText(answer_error));
      return 1;
    case AnswerOutcome::Success:
      PrintLine(messages.success);
      return 0;
  }
  return 1;
}
