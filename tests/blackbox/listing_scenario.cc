#include "tests/blackbox/listing_scenario.h"

#include <gtest/gtest.h>


namespace {

Json::Value Pair(int result, const std::string& text) {
  Json::Value pair(Json::arrayValue);
  pair.append(result);
  pair.append(text);
  return pair;
}

}  // namespace

ListingScenario::ListingScenario() { answers_["is_ok"] = 1; }

ListingScenario& ListingScenario::ComputerInfo(const std::string& id, const std::string& text,
                                               int result) {
  answers_["computer_info"][id] = Pair(result, text);
  return *this;
}

ListingScenario& ListingScenario::ComputerList(const std::string& filter, int count,
                                               const std::string& text) {
  answers_["computer_lists"][filter] = Pair(count, text);
  return *this;
}

ListingScenario& ListingScenario::ComputerList(const std::string& filter,
                                               const std::vector<std::string>& ids) {
  Json::Value list(Json::arrayValue);
  for (const std::string& id : ids)
    list.append(id);
  return ComputerList(filter, static_cast<int>(ids.size()), CompactJson(list));
}

ListingScenario& ListingScenario::DeviceList(const std::string& computer, int count,
                                             const std::string& text) {
  answers_["device_lists"][computer] = Pair(count, text);
  return *this;
}

ListingScenario& ListingScenario::DeviceInfo(const std::string& computer,
                                             const std::string& device,
                                             const std::string& text, int result) {
  answers_["device_info"][computer][device] = Pair(result, text);
  return *this;
}

ListingScenario& ListingScenario::Devices(const std::string& computer,
                                          const DeviceAnswers& devices) {
  Json::Value list(Json::arrayValue);
  for (const auto& device : devices) {
    list.append(device.first);
    DeviceInfo(computer, device.first, device.second);
  }
  return DeviceList(computer, static_cast<int>(devices.size()), CompactJson(list));
}

ListingScenario& ListingScenario::Answer(const std::string& member, const Json::Value& value) {
  answers_[member] = value;
  return *this;
}

std::string ListingScenario::Text() const {
  Json::Value scenario;
  scenario["answers"] = answers_;
  return CompactJson(scenario);
}

ProgramResult ListingScenario::Run(const std::vector<std::string>& arguments) const {
  ProgramRun run;
  run.scenario = Text();
  return RunProgram(arguments, run);
}

const std::vector<std::string>& NoCalls() {
  static const std::vector<std::string> none;
  return none;
}

void ExpectListings(const ListingScenario& world, const std::vector<ListingCase>& cases) {
  for (const ListingCase& c : cases) {
    ProgramResult result = world.Run(c.arguments);
    EXPECT_EQ(c.expected, result.out) << c.arguments.back();
    EXPECT_EQ(0, result.exit_code) << c.arguments.back();
    EXPECT_EQ("", result.err);
  }
}

void ExpectEmptyLists(const std::vector<EmptyListCase>& cases) {
  for (const EmptyListCase& c : cases) {
    ListingScenario scenario;
    scenario.ComputerList(c.filter, 0, "[]");
    ProgramResult result = scenario.Run(c.arguments);
    EXPECT_EQ(c.expected, result.out) << c.filter;
    EXPECT_EQ(0, result.exit_code) << c.filter;
  }
}
