// The state of the local service and of its link to the central server, as
// the gate of nearly every command sees it.
#ifndef WNCTL_FRONTEND_LIBRARY_SERVICE_STATE_H_
#define WNCTL_FRONTEND_LIBRARY_SERVICE_STATE_H_

enum class ServiceState : int {
  LoggedIn = 0,
  ServiceUnreachable = 1,
  ServiceBusy = 2,
  LoginRequired = 3,
  ServerUnreachable = 4,
  StatusUnreadable = 5,
};

// How a budget of milliseconds is spent: `polls` status queries with
// `pause` milliseconds between two of them.
struct StatusPollPlan {
  int polls;
  int pause;
};
StatusPollPlan PlanStatusPolls(int budget_ms);

// Polls the status within `budget_ms` (positive) until it is definite.
ServiceState GetServiceState(int budget_ms);

// The one error line of a state; codes outside 0..4 print that of 5.
void PrintServiceStateError(ServiceState code);

// The gate of the commands that need a logged-in computer: true when it is
// logged in; otherwise prints the state's error line.
bool PassLoggedInGate();

// The budgets of the gates.
const int kGateBudgetMs = 500;
const int kLoginGateBudgetMs = 5000;
const int kStatusSettleBudgetMs = 300;
const int kPipeSettleBudgetMs = 100;

#endif  // WNCTL_FRONTEND_LIBRARY_SERVICE_STATE_H_
