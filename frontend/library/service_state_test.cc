#include "frontend/library/service_state.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceState, PollPlanOfABudget) {
  struct Case {
    int budget;
    int polls;
    int pause;
  } cases[] = {
      {100, 2, 100}, {300, 4, 100}, {500, 6, 100},   {5000, 51, 100},
      {50, 2, 50},   {250, 3, 125}, {1099, 12, 109}, {1, 2, 1},
  };
  for (const Case& c : cases) {
    StatusPollPlan plan = PlanStatusPolls(c.budget);
    EXPECT_EQ(plan.polls, c.polls) << c.budget;
    EXPECT_EQ(plan.pause, c.pause) << c.budget;
  }
}

TEST(ServiceState, ErrorLines) {
  struct Case {
    int code;
    const char* line;
  } cases[] = {
      {0, "ERROR: computer is logged in to central server\n"},
      {1, "ERROR: can't connect to local service\n"},
      {2, "ERROR: local service is busy: taken by some other application\n"},
      {3, "ERROR: need to login to central server\n"},
      {4, "ERROR: no connection to central server\n"},
      {5, "ERROR: internal error: can't get status from library\n"},
      {7, "ERROR: internal error: can't get status from library\n"},
      {-1, "ERROR: internal error: can't get status from library\n"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    PrintServiceStateError(static_cast<ServiceState>(c.code));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line) << c.code;
  }
}

}  // namespace
