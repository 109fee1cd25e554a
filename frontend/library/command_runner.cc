#include "frontend/library/command_runner.h"

#include <iostream>

#include "frontend/convert/json_reading.h"
#include "frontend/devices/device_aliases.h"
#include "frontend/library/service_state.h"

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
  if (value.isString()) {
    // Below the range clamps to its bottom, 0, which no started request has.
    *id = static_cast<WN_CommandId>(ParseLeadingInteger(value.asString(), 0, 0xFFFFFFFFu));
    return true;
  }
  // Null, booleans and numbers: the JSON library's own range test, after
  // which its reading cannot fail.
  if (value.isArray() || value.isObject() || !value.isConvertibleTo(Json::uintValue))
    return false;
  *id = value.asUInt();
  return true;
}

AnswerOutcome CheckCommandAnswer(const Json::Value& answer, WN_CommandId id,
                                 std::string* error) {
  if (!answer.isObject())
    return AnswerOutcome::NoAnswer;
  WN_CommandId answered;
  if (!ReadCommandId(JsonMember(answer, "id_cmd"), &answered) || answered != id)
    return AnswerOutcome::WrongCommand;
  std::string status = JsonAsText(JsonMember(answer, "status"));
  error->clear();
  if (status == "finished") {
    const Json::Value& result = JsonMember(answer, "result");
    if (!result.isObject())
      return AnswerOutcome::InvalidAnswer;
    *error = JsonAsText(JsonMember(result, "error"));
  } else if (status == "timeout") {
    return AnswerOutcome::Timeout;
  }
  return *error == "OK" ? AnswerOutcome::Success : AnswerOutcome::FinishedWithError;
}

bool PassLoggedInGate() {
  ServiceState state = GetServiceState(kGateBudgetMs);
  if (state == ServiceState::LoggedIn)
    return true;
  PrintServiceStateError(state);
  return false;
}

bool PassGateAndResolveDevice(const std::string& id_device, std::string* id_comp,
                              std::string* device_id) {
  return PassLoggedInGate() && ResolveDeviceId(id_device, id_comp, device_id);
}

bool PrepareEventChannel() {
  if (EnableLibraryEvents())
    return true;
  std::cout << "ERROR: internal engine error." << std::endl;
  return false;
}

int SendAndCheckAnswer(const std::function<WN_CommandId()>& send, uint32_t timeout_ms,
                       const RunnerMessages& messages, std::string* error) {
  PrepareForCommandResult();
  WN_CommandId id = send();
  if (id == 0) {
    std::cout << messages.not_started << std::endl;
    return 1;
  }
  if (!WaitForCommandResult(timeout_ms)) {
    std::cout << messages.not_responding << std::endl;
    return 1;
  }
  std::string answer_error;
  switch (CheckCommandAnswer(TakeCommandResult(), id, &answer_error)) {
    case AnswerOutcome::NoAnswer:
      std::cout << messages.no_answer << std::endl;
      return 1;
    case AnswerOutcome::WrongCommand:
      std::cout << messages.wrong_command << std::endl;
      return 1;
    case AnswerOutcome::InvalidAnswer:
      std::cout << messages.invalid_answer << std::endl;
      return 1;
    case AnswerOutcome::Timeout:
      std::cout << messages.timeout << std::endl;
      return 1;
    case AnswerOutcome::FinishedWithError:
      if (error)
        *error = answer_error;
      std::cout << messages.finished_with_error << answer_error << std::endl;
      return 1;
    case AnswerOutcome::Success:
      std::cout << messages.success << std::endl;
      return 0;
  }
  return 1;
}
