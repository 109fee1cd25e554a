// The scenario file of the stand-in library: what each of its functions
// answers, scripted member by member, as the JSON text the stand-in reads.
#ifndef WNCTL_TESTS_SUPPORT_STAND_IN_SCENARIO_H_
#define WNCTL_TESTS_SUPPORT_STAND_IN_SCENARIO_H_

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include <json/value.h>

// A getter's scripted answer: its int result and the text of its out-value.
Json::Value ResultAndText(int result, const std::string& text);

// How one asynchronous request is answered; a member left out takes the
// stand-in's default.
class ScriptedRequest {
 public:
  ScriptedRequest& Id(uint32_t id);
  // The event delivered; a null value delivers none.
  ScriptedRequest& Answer(const Json::Value& event);
  // A batch's text, delivered before the answer in the same drain.
  ScriptedRequest& Batch(const std::string& text);
  // `times` drains of these batches each, instead of the answer and its
  // batches.
  ScriptedRequest& Drain(const std::vector<std::string>& batches, int times = 1);
  ScriptedRequest& DelayMs(int delay_ms);

  const Json::Value& value() const { return value_; }

 private:
  Json::Value value_{Json::objectValue};
};

// The request `id`, answered by a "command_result" with `error`.
ScriptedRequest AnsweredRequest(uint32_t id, const std::string& error = "OK");

// Each device's real id and the library's answer about it.
typedef std::vector<std::pair<std::string, std::string>> DeviceInfos;

// Answers nothing until told: where a member is left out, the stand-in's
// world, empty under a scenario, answers.
class StandInScenario {
 public:
  // The gate passes at its first call.
  StandInScenario& LoggedIn();
  // The gate finds a service that waits for a login.
  StandInScenario& LoginRequired();

  StandInScenario& ComputerInfo(const std::string& id, const std::string& text, int result = 1);
  StandInScenario& ComputerList(const std::string& filter, int count, const std::string& text);
  // A list of these ids, counted by their number.
  StandInScenario& ComputerList(const std::string& filter, const std::vector<std::string>& ids);
  StandInScenario& DeviceList(const std::string& computer, int count, const std::string& text);
  StandInScenario& DeviceInfo(const std::string& computer, const std::string& device,
                              const std::string& text, int result = 1);
  // The device list in this order, and each device's answer.
  StandInScenario& Devices(const std::string& computer, const DeviceInfos& devices);
  StandInScenario& InviteInfo(const std::string& id, const std::string& text, int result = 1);

  StandInScenario& Request(const std::string& function, const ScriptedRequest& request);
  // A request as its JSON value, for the answers a test spells out whole.
  StandInScenario& Request(const std::string& function, const Json::Value& request);
  // `times` drains of these batches each, right after the queue is switched on.
  StandInScenario& EarlyDrain(const std::vector<std::string>& batches, int times = 1);

  // Any member of "answers", replaced whole.
  StandInScenario& Answer(const std::string& member, const Json::Value& value);

  std::string Text() const;

 private:
  Json::Value answers_{Json::objectValue};
};

#endif  // WNCTL_TESTS_SUPPORT_STAND_IN_SCENARIO_H_
