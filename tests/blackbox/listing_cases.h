// The checks that the listing commands share, against a library whose every
// answer the test scripts.
#ifndef WNCTL_TESTS_BLACKBOX_LISTING_CASES_H_
#define WNCTL_TESTS_BLACKBOX_LISTING_CASES_H_

#include <string>
#include <vector>

#include "tests/blackbox/program_runner.h"
#include "tests/support/stand_in_scenario.h"

// A command line and the whole output it gives, with exit code 0 and
// nothing on standard error.
struct ListingCase {
  std::vector<std::string> arguments;
  std::string expected;
};
void ExpectListings(const StandInScenario& world, const std::vector<ListingCase>& cases);

// A command line whose computer list, asked for with `filter` only, is empty.
struct EmptyListCase {
  std::vector<std::string> arguments;
  const char* filter;
  const char* expected;
};
void ExpectEmptyLists(const std::vector<EmptyListCase>& cases);

// The call log a run leaves when it asks nothing of the library.
const std::vector<std::string>& NoCalls();

#endif  // WNCTL_TESTS_BLACKBOX_LISTING_CASES_H_
