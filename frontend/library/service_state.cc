#include "frontend/library/service_state.h"

#include "frontend/convert/json_reading.h"
#include "frontend/library/status_document.h"
#include "platform/console_output.h"
#include "platform/sleep.h"
#include "wirenestdk.h"

// The budget is cut into pauses of about this length.
const int kStatusPollPeriodMs = 100;

StatusPollPlan PlanStatusPolls(int budget_ms) {
  int n = budget_ms / kStatusPollPeriodMs;
  int pause;
  if (n == 0) {
    n = 1;
    pause = budget_ms;
  } else {
    pause = budget_ms / n;
    if (budget_ms > pause * n)
      n = n + 1;
  }
  return StatusPollPlan{n + 1, pause};
}

namespace {

enum class PollOutcome { Definite, PipeDisconnected, ServerDisconnected };

// One status query; sets `state` when the answer is definite.
PollOutcome PollStatus(ServiceState* state) {
  // A document without members reads as one whose pipe is in no known state.
  Json::Value document;
  if (ReadStatusDocument(&document) != DocumentReading::Read) {
    *state = ServiceState::StatusUnreadable;
    return PollOutcome::Definite;
  }
  std::string pipe = JsonMemberText(document, "pipe");
  if (pipe == "busy") {
    *state = ServiceState::ServiceBusy;
    return PollOutcome::Definite;
  }
  if (pipe == "disconnected")
    return PollOutcome::PipeDisconnected;
  if (pipe == "connected") {
    std::string server = JsonMemberText(document, "server");
    if (server == "connected") {
      *state = ServiceState::LoggedIn;
      return PollOutcome::Definite;
    }
    if (server == "login_required") {
      *state = ServiceState::LoginRequired;
      return PollOutcome::Definite;
    }
    if (server == "disconnected")
      return PollOutcome::ServerDisconnected;
  }
  *state = ServiceState::StatusUnreadable;
  return PollOutcome::Definite;
}

}  // namespace

ServiceState GetServiceState(int budget_ms) {
  if (WN_IsOK())
    return ServiceState::LoggedIn;
  StatusPollPlan plan = PlanStatusPolls(budget_ms);
  bool disconnected = false;
  for (int i = 0; i < plan.polls; ++i) {
    if (i > 0)
      SleepMilliseconds(static_cast<uint32_t>(plan.pause));
    ServiceState state;
    switch (PollStatus(&state)) {
      case PollOutcome::Definite:
        return state;
      case PollOutcome::PipeDisconnected:
        disconnected = true;
        break;
      case PollOutcome::ServerDisconnected:
        break;
    }
  }
  return disconnected ? ServiceState::ServiceUnreachable : ServiceState::ServerUnreachable;
}

bool PassLoggedInGate() {
  ServiceState state = GetServiceState(kGateBudgetMs);
  if (state == ServiceState::LoggedIn)
    return true;
  PrintServiceStateError(state);
  return false;
}

void PrintServiceStateError(ServiceState code) {
  const char* line;
  switch (code) {
    case ServiceState::LoggedIn:
      line = "ERROR: computer is logged in to central server";
      break;
    case ServiceState::ServiceUnreachable:
      line = "ERROR: can't connect to local service";
      break;
    case ServiceState::ServiceBusy:
      line = "ERROR: local service is busy: taken by some other application";
      break;
    case ServiceState::LoginRequired:
      line = "ERROR: need to login to central server";
      break;
    case ServiceState::ServerUnreachable:
      line = "ERROR: no connection to central server";
      break;
    default:
      line = "ERROR: internal error: can't get status from library";
      break;
  }
  PrintLine(line);
}
