// Scenarios for the listing commands: every answer of the library scripted,
// each given as the JSON text (or any text) the library hands out.
#ifndef WNCTL_TESTS_BLACKBOX_LISTING_SCENARIO_H_
#define WNCTL_TESTS_BLACKBOX_LISTING_SCENARIO_H_

#include <string>
#include <utility>
#include <vector>

#include <json/value.h>

#include "tests/blackbox/program_runner.h"

// A device's real id and the library's answer about it.
typedef std::vector<std::pair<std::string, std::string>> DeviceAnswers;

class ListingScenario {
 public:
  // Logged in: the gate costs one call.
  ListingScenario();

  ListingScenario& ComputerInfo(const std::string& id, const std::string& text,
                                int result = 1);
  ListingScenario& ComputerList(const std::string& filter, int count,
                                const std::string& text);
  // A list of these ids, counted by their number.
  ListingScenario& ComputerList(const std::string& filter,
                                const std::vector<std::string>& ids);
  ListingScenario& DeviceList(const std::string& computer, int count,
                              const std::string& text);
  ListingScenario& DeviceInfo(const std::string& computer, const std::string& device,
                              const std::string& text, int result = 1);
  // The device list in this order, and each device's answer.
  ListingScenario& Devices(const std::string& computer, const DeviceAnswers& devices);
  // Any other member of "answers".
  ListingScenario& Answer(const std::string& member, const Json::Value& value);

  std::string Text() const;
  ProgramResult Run(const std::vector<std::string>& arguments) const;

 private:
  Json::Value answers_;
};

// A command line and the whole output it gives, with exit code 0 and
// nothing on standard error.
struct ListingCase {
  std::vector<std::string> arguments;
  std::string expected;
};
void ExpectListings(const ListingScenario& world, const std::vector<ListingCase>& cases);

// A command line whose computer list, asked for with `filter` only, is empty.
struct EmptyListCase {
  std::vector<std::string> arguments;
  const char* filter;
  const char* expected;
};
void ExpectEmptyLists(const std::vector<EmptyListCase>& cases);

// The call log a run leaves when it asks nothing of the library.
const std::vector<std::string>& NoCalls();

#endif  // WNCTL_TESTS_BLACKBOX_LISTING_SCENARIO_H_
