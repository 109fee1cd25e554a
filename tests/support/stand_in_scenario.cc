#include "tests/support/stand_in_scenario.h"

#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"

namespace {

void AppendDrains(const std::vector<std::string>& batches, int times, Json::Value* drains) {
  Json::Value drain(Json::arrayValue);
  for (const std::string& batch : batches)
    drain.append(batch);
  for (int i = 0; i < times; ++i)
    drains->append(drain);
}

Json::Value IdList(const std::vector<std::string>& ids) {
  Json::Value list(Json::arrayValue);
  for (const std::string& id : ids)
    list.append(id);
  return list;
}

}  // namespace

Json::Value ResultAndText(int result, const std::string& text) {
  Json::Value pair(Json::arrayValue);
  pair.append(result);
  pair.append(text);
  return pair;
}

ScriptedRequest& ScriptedRequest::Id(uint32_t id) {
  value_["id"] = id;
  return *this;
}

ScriptedRequest& ScriptedRequest::Answer(const Json::Value& event) {
  value_["answer"] = event;
  return *this;
}

ScriptedRequest& ScriptedRequest::Batch(const std::string& text) {
  value_["batches"].append(text);
  return *this;
}

ScriptedRequest& ScriptedRequest::Drain(const std::vector<std::string>& batches, int times) {
  AppendDrains(batches, times, &value_["drains"]);
  return *this;
}

ScriptedRequest& ScriptedRequest::DelayMs(int delay_ms) {
  value_["delay_ms"] = delay_ms;
  return *this;
}

ScriptedRequest AnsweredRequest(uint32_t id, const std::string& error) {
  return ScriptedRequest().Id(id).Answer(CommandResult(id, error));
}

StandInScenario& StandInScenario::LoggedIn() { return Answer("is_ok", 1); }

StandInScenario& StandInScenario::LoginRequired() {
  return Answer("is_ok", 0).Answer("status", kLoginRequiredStatus);
}

StandInScenario& StandInScenario::ComputerInfo(const std::string& id, const std::string& text,
                                               int result) {
  answers_["computer_info"][id] = ResultAndText(result, text);
  return *this;
}

StandInScenario& StandInScenario::ComputerList(const std::string& filter, int count,
                                               const std::string& text) {
  answers_["computer_lists"][filter] = ResultAndText(count, text);
  return *this;
}

StandInScenario& StandInScenario::ComputerList(const std::string& filter,
                                               const std::vector<std::string>& ids) {
  return ComputerList(filter, static_cast<int>(ids.size()), CompactJson(IdList(ids)));
}

StandInScenario& StandInScenario::DeviceList(const std::string& computer, int count,
                                             const std::string& text) {
  answers_["device_lists"][computer] = ResultAndText(count, text);
  return *this;
}

StandInScenario& StandInScenario::DeviceInfo(const std::string& computer, const std::string& device,
                                             const std::string& text, int result) {
  answers_["device_info"][computer][device] = ResultAndText(result, text);
  return *this;
}

StandInScenario& StandInScenario::Devices(const std::string& computer, const DeviceInfos& devices) {
  std::vector<std::string> ids;
  for (const auto& device : devices) {
    ids.push_back(device.first);
    DeviceInfo(computer, device.first, device.second);
  }
  return DeviceList(computer, static_cast<int>(ids.size()), CompactJson(IdList(ids)));
}

StandInScenario& StandInScenario::InviteInfo(const std::string& id, const std::string& text,
                                             int result) {
  answers_["invite_info"][id] = ResultAndText(result, text);
  return *this;
}

StandInScenario& StandInScenario::Request(const std::string& function,
                                          const ScriptedRequest& request) {
  return Request(function, request.value());
}

StandInScenario& StandInScenario::Request(const std::string& function, const Json::Value& request) {
  answers_["requests"][function] = request;
  return *this;
}

StandInScenario& StandInScenario::EarlyDrain(const std::vector<std::string>& batches, int times) {
  AppendDrains(batches, times, &answers_["early_drains"]);
  return *this;
}

StandInScenario& StandInScenario::Answer(const std::string& member, const Json::Value& value) {
  answers_[member] = value;
  return *this;
}

std::string StandInScenario::Text() const {
  Json::Value scenario;
  scenario["answers"] = answers_;
  return CompactJson(scenario);
}
