#include "tests/blackbox/listing_cases.h"

#include <gtest/gtest.h>

const std::vector<std::string>& NoCalls() {
  static const std::vector<std::string> none;
  return none;
}

void ExpectListings(const StandInScenario& world, const std::vector<ListingCase>& cases) {
  for (const ListingCase& c : cases) {
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(world));
    EXPECT_EQ(c.expected, result.out) << c.arguments.back();
    EXPECT_EQ(0, result.exit_code) << c.arguments.back();
    EXPECT_EQ("", result.err);
  }
}

void ExpectEmptyLists(const std::vector<EmptyListCase>& cases) {
  for (const EmptyListCase& c : cases) {
    StandInScenario scenario = StandInScenario().LoggedIn().ComputerList(c.filter, 0, "[]");
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(scenario));
    EXPECT_EQ(c.expected, result.out) << c.filter;
    EXPECT_EQ(0, result.exit_code) << c.filter;
  }
}
