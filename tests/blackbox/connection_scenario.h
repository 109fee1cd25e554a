// Scenarios for the connection commands: a logged-in library that knows one
// device, 41-usb-7, and answers each request as the test says.
#ifndef WNCTL_TESTS_BLACKBOX_CONNECTION_SCENARIO_H_
#define WNCTL_TESTS_BLACKBOX_CONNECTION_SCENARIO_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <json/value.h>

#include "tests/blackbox/program_runner.h"

inline Json::Value ResultAndText(int result, const std::string& text) {
  Json::Value pair(Json::arrayValue);
  pair.append(result);
  pair.append(text);
  return pair;
}

// The "answers" of a scenario in which 41-usb-7's info is `device_info`.
inline Json::Value DeviceAnswers(const std::string& device_info) {
  Json::Value answers;
  answers["is_ok"] = 1;
  answers["device_lists"]["41"] = ResultAndText(1, "[\"usb-7\"]");
  answers["device_info"]["41"]["usb-7"] = ResultAndText(1, device_info);
  return answers;
}

// `function` is answered with the error text `error` ("OK" for success).
inline void AnswerRequest(Json::Value* answers, const char* function,
                          const std::string& error) {
  const int id = 7;
  Json::Value answer;
  answer["event"] = "command_result";
  answer["id_cmd"] = id;
  answer["status"] = "finished";
  answer["result"]["error"] = error;
  (*answers)["requests"][function]["id"] = id;
  (*answers)["requests"][function]["answer"] = answer;
}

inline ProgramRun ScenarioRun(const Json::Value& answers) {
  Json::Value scenario;
  scenario["answers"] = answers;
  ProgramRun run;
  run.scenario = CompactJson(scenario);
  return run;
}

// The call-log line of a request on 41-usb-7 with a parameters document.
inline std::string ParametersRequestCall(const char* function, const std::string& parameters) {
  Json::Value call(Json::arrayValue);
  call.append(function);
  call.append("41");
  call.append("usb-7");
  call.append(parameters);
  call.append(-1);
  return CompactJson(call) + "\n";
}

inline std::vector<std::string> WithArguments(std::vector<std::string> arguments,
                                              const std::string& command) {
  arguments.insert(arguments.begin(), command);
  return arguments;
}

struct SentParameters {
  std::vector<std::string> arguments;  // after the command word
  const char* parameters;              // the document the request carries
};

// Each case succeeds, and the main thread's calls are `calls_before` and then
// `function` with the case's document.
inline void ExpectParametersSent(const char* command, const char* function,
                                 const std::vector<SentParameters>& cases,
                                 const std::string& calls_before, const ProgramRun& run) {
  for (const SentParameters& c : cases) {
    ProgramResult result = RunProgram(WithArguments(c.arguments, command), run);
    std::string label = testing::PrintToString(c.arguments);
    EXPECT_EQ(result.out, "Success\n") << label;
    EXPECT_EQ(result.exit_code, 0) << label;
    EXPECT_EQ(result.err, "") << label;
    EXPECT_EQ(result.MainThreadCalls(),
              calls_before + ParametersRequestCall(function, c.parameters))
        << label;
  }
}

#endif  // WNCTL_TESTS_BLACKBOX_CONNECTION_SCENARIO_H_
