#include "frontend/library/command_runner.h"

#include <ctype.h>

#include <iostream>

#include "frontend/convert/json_reading.h"
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

namespace {

const uint64_t kLargestCommandId = 0xFFFFFFFFu;

WN_CommandId ParseLeadingCommandId(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && isspace(static_cast<unsigned char>(text[pos])))
    ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  uint64_t magnitude = 0;
  for (; pos < text.size() && isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(text[pos] - '0');
    if (magnitude > kLargestCommandId) {
      magnitude = kLargestCommandId;
      break;
    }
  }
  // Below the range clamps to its bottom, 0, which no started request has.
  return negative ? 0 : static_cast<WN_CommandId>(magnitude);
}

}  // namespace

bool ReadCommandId(const Json::Value& value, WN_CommandId* id) {
  if (value.isString()) {
    *id = ParseLeadingCommandId(value.asString());
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
