// The steps every asynchronous action shares: the gate, the channel, the
// request, the wait and the answer check.
#ifndef WNCTL_FRONTEND_LIBRARY_COMMAND_RUNNER_H_
#define WNCTL_FRONTEND_LIBRARY_COMMAND_RUNNER_H_

#include <stdint.h>

#include <functional>
#include <string>

#include <json/value.h>

#include "frontend/library/library_interface.h"

const uint32_t kCommandWaitMs = 60000;
const uint32_t kLoginWaitMs = 120000;
const uint32_t kConnectWaitMs = 180000;

// The lines an action prints for each way its request can end.
struct RunnerMessages {
  const char* not_started;
  const char* not_responding;
  const char* no_answer;
  const char* wrong_command;
  const char* invalid_answer;
  const char* timeout;
  const char* success;
  const char* finished_with_error;  // followed directly by the error text
};
extern const RunnerMessages kPlainRunnerMessages;

// The gate, then the device that ID_DEVICE names. False after the
// failure's line.
bool PassGateAndResolveDevice(const std::string& id_device, std::string* id_comp,
                              std::string* device_id);

// True when the channel is ready; otherwise prints the error.
bool PrepareEventChannel();

// Prepares the hand-over, sends the request, waits up to
// `timeout_ms` and checks the answer. Returns 0 after the success line, 1
// after a failure line. `error`, when given, receives the answer's error
// text when the request finished with one.
int SendAndCheckAnswer(const std::function<WN_CommandId()>& send, uint32_t timeout_ms,
                       const RunnerMessages& messages, std::string* error = nullptr);

// How an answer ends a request.
enum class AnswerOutcome {
  NoAnswer,           // not an object
  WrongCommand,       // "id_cmd" is not the request's id, or unreadable
  InvalidAnswer,      // "finished" without an object "result"
  Timeout,            // "timeout"
  FinishedWithError,  // `error` holds the text, maybe empty
  Success,
};
AnswerOutcome CheckCommandAnswer(const Json::Value& answer, WN_CommandId id, std::string* error);

// "id_cmd" as a command id, by its 32-bit value, so that a library writing
// ids as signed integers matches too: a number in -2147483648..4294967295 (a
// real truncated toward zero), a boolean as 0 or 1, null as 0, or a leading
// decimal number of a text, which beyond that range clamps to 2147483647 or
// -2147483648 as the integer reading of a text does. False for arrays,
// objects and numbers out of the range.
bool ReadCommandId(const Json::Value& value, WN_CommandId* id);

#endif  // WNCTL_FRONTEND_LIBRARY_COMMAND_RUNNER_H_
