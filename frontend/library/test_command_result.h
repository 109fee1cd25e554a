// For the tests of the channel and the runner: a "command_result" event as
// the library delivers it.
#ifndef WNCTL_FRONTEND_LIBRARY_TEST_COMMAND_RESULT_H_
#define WNCTL_FRONTEND_LIBRARY_TEST_COMMAND_RESULT_H_

#include <stdint.h>

#include <json/value.h>

inline Json::Value TestCommandResult(uint32_t id, const char* error = "OK") {
  Json::Value answer;
  answer["event"] = "command_result";
  answer["id_cmd"] = id;
  answer["status"] = "finished";
  answer["result"]["error"] = error;
  return answer;
}

#endif  // WNCTL_FRONTEND_LIBRARY_TEST_COMMAND_RESULT_H_
