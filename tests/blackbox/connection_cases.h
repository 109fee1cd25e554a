// The scenario and the checks that the connection commands share: a
// logged-in library that knows one device, 41-usb-7.
#ifndef WNCTL_TESTS_BLACKBOX_CONNECTION_CASES_H_
#define WNCTL_TESTS_BLACKBOX_CONNECTION_CASES_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <json/value.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/stand_in_scenario.h"

// The library in which 41-usb-7's info is `device_info`.
inline StandInScenario OneDeviceScenario(const std::string& device_info) {
  return StandInScenario().LoggedIn().Devices("41", {{"usb-7", device_info}});
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

#endif  // WNCTL_TESTS_BLACKBOX_CONNECTION_CASES_H_
