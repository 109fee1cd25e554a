#include "wirenest/standin/library.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/console_output.h"
#include "wirenest/standin/call_log.h"
#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/environment.h"
#include "wirenest/standin/files.h"
#include "wirenest/standin/json_text.h"
#include "wirenest/standin/password_hash.h"
#include "wirenest/standin/scenario.h"
#include "wirenest/standin/state_file.h"
#include "wirenest/standin/world_actions.h"

namespace standin {

namespace {

const std::chrono::milliseconds kStopPatience(1000);
// How long a change waits for another process to let go of the state.
const std::chrono::milliseconds kStateLockPatience(10000);
// The answer's error when a change cannot be kept.
const char kStateNotSaved[] = "state_not_saved";
// The answer's error when the work behind a request throws, which it does
// only for lack of memory; the change is then not made.
const char kOutOfMemory[] = "out_of_memory";

struct Library {
  bool failed = false;
  std::string call_log;
  std::string state_path;
  // With neither a state file nor a scenario, changes have nowhere to go.
  bool changes_refused = false;
  World world;
  // What a missing state file stands for.
  World fresh_world;
  ScriptedAnswers answers;
  uint32_t last_id = 0;
  bool queue_enabled = false;
  bool save_failure_reported = false;
  bool log_refusal_reported = false;
  EventThread events;
};

std::mutex g_mutex;
Library* g_library = nullptr;
// Set once the process is ending with the library's threads gone.
std::atomic<bool> g_threads_gone(false);

Library* CurrentLibrary() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_library;
}

// At a console the file's name shows in any letters. Each text ends at its
// first zero byte.
void ReportProblem(const std::string& file, const std::string& problem) {
  WriteStandardError(std::string("wirenest stand-in: ") + file.c_str() + ": " + problem.c_str() +
                     "\n");
}

// Made at the first call, so exit destroys it before the caller's globals,
// which were made earlier: a callback still running into the caller ends
// while the caller is whole, and the thread is joined then. A callback that
// hangs is given up on after a while rather than hanging the exit. The state
// stays for calls made later during exit and is freed at unload, unless a
// thread given up on may still use it.
struct DeliveriesStopper {
  ~DeliveriesStopper() {
    if (g_threads_gone)
      return;
    try {
      if (Library* library = CurrentLibrary())
        library->events.Stop(kStopPatience);
    } catch (...) {  // nothing better to do while exiting
    }
  }
};

// Stops the thread and frees the state, which the next call makes afresh.
void Shutdown() {
  if (g_threads_gone)
    return;
  Library* library = CurrentLibrary();
  if (!library)
    return;
  bool stopped = library->events.Stop(kStopPatience);
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_library = nullptr;
  }
  if (stopped)
    delete library;
}

bool LoadWorld(Library* library, const std::string& scenario_path) {
  std::string error;
  Scenario scenario;
  if (!scenario_path.empty()) {
    if (!ReadScenario(scenario_path, &scenario, &error)) {
      ReportProblem(scenario_path, error);
      return false;
    }
    library->answers = std::move(scenario.answers);
  }
  library->fresh_world = scenario_path.empty() ? DemoWorld() : std::move(scenario.world);
  library->world = library->fresh_world;
  if (!library->state_path.empty()) {
    switch (LoadState(library->state_path, &library->world, &error)) {
      case StateLoad::kLoaded:
        return true;
      case StateLoad::kMissing:
        break;
      case StateLoad::kBad:
        ReportProblem(library->state_path, error);
        return false;
    }
  }
  return true;
}

Library* CreateLibrary() {
  static DeliveriesStopper stopper;
  std::unique_ptr<Library> library(new Library);
  library->call_log = Environment("WIRENEST_CALL_LOG");
  const std::string scenario_path = Environment("WIRENEST_SCENARIO");
  library->state_path = Environment("WIRENEST_STATE");
  if (scenario_path.empty() && library->state_path.empty()) {
    library->state_path = DefaultStatePath();
    library->changes_refused = library->state_path.empty();
  }
  library->failed = !LoadWorld(library.get(), scenario_path);
  return library.release();
}

// One call into the library: holds it locked, made if need be, with the
// call logged.
class Session {
 public:
  explicit Session(const Json::Value& call) : Session([&call] { return call; }) {}
  // The call is made only for the log: events are asked for on the
  // library's thread, where memory may be short.
  explicit Session(const std::function<Json::Value()>& make_call) : lock_(g_mutex) {
    if (!g_library)
      g_library = CreateLibrary();
    std::string refusal;
    if (!g_library->call_log.empty() &&
        !AppendToFile(g_library->call_log, CallLogLine(make_call()), &refusal) &&
        !refusal.empty() && !g_library->log_refusal_reported) {
      g_library->log_refusal_reported = true;
      ReportProblem(g_library->call_log, refusal + "; calls are not logged");
    }
  }
  Library& library() { return *g_library; }
  bool failed() const { return g_library->failed; }

 private:
  std::lock_guard<std::mutex> lock_;
};

void ReportSaveFailure(Library* library, const std::string& file, const std::string& problem) {
  if (!library->save_failure_reported)
    ReportProblem(file, problem);
  library->save_failure_reported = true;
}

// Carries out `change` on the world as the state file holds it now, or on
// the world of this run where there is no state file. False when a change
// that `change` would keep cannot be kept; the world is then unchanged.
// Called without g_mutex, which it takes only for the world of this run:
// the state's lock may be long in coming.
bool ChangeWorld(Library* library, const std::function<bool(World*)>& change) {
  if (!library->state_path.empty()) {
    std::string error;
    World world;
    bool read = false, password_lost = false;
    bool kept = ChangeState(
        library->state_path, library->fresh_world,
        [&](World* changed) {
          read = true;
          if (!change(changed))
            return false;
          password_lost = changed->account && !CanBeSaved(changed->account->password);
          return !password_lost;
        },
        kStateLockPatience, &world, &error);
    if (password_lost) {
      kept = false;
      error = "the account's password cannot be hashed";
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    if (read)
      library->world = std::move(world);
    if (!kept)
      ReportSaveFailure(library, library->state_path, error + "; the change is refused");
    return kept;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!library->changes_refused) {
    change(&library->world);
    return true;
  }
  World changed = library->world;
  if (!change(&changed))
    return true;
  ReportSaveFailure(
      library, "no state file",
      std::string("neither ") + kStatePlaceVariables + " is set; changes are refused");
  return false;
}

uint32_t FreshCommandId(Library* library) {
  do {
    ++library->last_id;
  } while (library->last_id == 0 || library->answers.IsScriptedId(library->last_id));
  return library->last_id;
}

Json::Value CommandResult(uint32_t id, const std::string& error) {
  Json::Value answer;
  answer["event"] = "command_result";
  answer["id_cmd"] = id;
  answer["status"] = "finished";
  answer["result"]["error"] = error;
  return answer;
}

std::string Batch(const Json::Value& event) {
  Json::Value batch(Json::arrayValue);
  batch.append(event);
  return CompactJson(batch);
}

std::vector<Drain> ScriptedDrains(const ScriptedRequest& script) {
  if (script.drains)
    return *script.drains;
  Drain drain = script.batches;
  if (!script.answer->isNull())
    drain.push_back(Batch(*script.answer));
  if (drain.empty())
    return {};
  return {drain};
}

// The world's answer: the effect carried out, after the batches. It is made
// before the change is kept: a change kept is answered though memory runs
// out then.
DrainMaker WorldAnswer(Library* library, uint32_t id, Drain batches, Effect effect,
                       AccountCheck check) {
  return [library, id, batches, effect, check] {
    if (check) {
      std::optional<Account> account;
      {
        std::lock_guard<std::mutex> lock(g_mutex);
        account = library->world.account;
      }
      check(account);
    }
    std::vector<Drain> drains(1, batches);
    drains[0].reserve(batches.size() + 1);
    std::string answer;
    bool kept = ChangeWorld(library, [&](World* world) {
      const std::string error = effect(world);
      answer = Batch(CommandResult(id, error));
      return error == "OK";
    });
    drains[0].push_back(kept ? std::move(answer) : Batch(CommandResult(id, kStateNotSaved)));
    return drains;
  };
}

// What a request answers when its work throws, made while there is memory.
std::vector<Drain> OutOfMemoryAnswer(uint32_t id, const Drain& batches) {
  std::vector<Drain> drains(1, batches);
  drains[0].push_back(Batch(CommandResult(id, kOutOfMemory)));
  return drains;
}

}  // namespace

Answer Query(const Json::Value& call, const Answer& failure, const ScriptedQuery& scripted,
             const WorldQuery& from_world) {
  Session session(call);
  if (session.failed())
    return failure;
  if (std::optional<Answer> answer = scripted(&session.library().answers))
    return *answer;
  return from_world(session.library().world);
}

uint32_t StartRequest(const Json::Value& call, Effect effect, AccountCheck check) {
  Session session(call);
  if (session.failed())
    return 0;
  Library& library = session.library();
  const ScriptedRequest* script = library.answers.Request(call[0].asString());
  uint32_t id = script && script->id ? *script->id : FreshCommandId(&library);
  if (id == 0)
    return 0;
  const uint32_t delay_ms = script ? script->delay_ms : 0;
  // A request that no thread can carry out or answer is not started.
  if (script && (script->drains || script->answer))
    return library.events.Deliver(ScriptedDrains(*script), delay_ms) ? id : 0;
  const Drain batches = script ? script->batches : Drain();
  bool started = library.events.DeliverMade(
      WorldAnswer(&library, id, batches, std::move(effect), std::move(check)), delay_ms,
      OutOfMemoryAnswer(id, batches));
  return started ? id : 0;
}

int32_t SetDefaultConnectParameters(const std::string& params) {
  Library* library = nullptr;
  {
    Session session(Call("WN_SetDefaultConnectParameters", {params}));
    if (session.failed())
      return 0;
    if (session.library().answers.set_default_params())
      return *session.library().answers.set_default_params();
    library = &session.library();
  }
  bool valid = false;
  bool kept = ChangeWorld(library, [&](World* world) {
    valid = SetDefaultConnectParameters(world, params);
    return valid;
  });
  return valid && kept ? 1 : 0;
}

int32_t SetEventCallback(EventCallback callback) {
  Session session(Call("WN_SetEventCallback"));
  if (session.failed())
    return 0;
  session.library().events.SetCallback(callback);
  return session.library().answers.set_event_callback().value_or(1);
}

int32_t EnableEventsQueue(int32_t enable) {
  Session session(Call("WN_EnableEventsQueue", {enable}));
  if (session.failed())
    return 0;
  Library& library = session.library();
  bool switched_on = enable != 0 && !library.queue_enabled;
  library.queue_enabled = enable != 0;
  library.events.SetQueueEnabled(library.queue_enabled);
  if (switched_on)
    library.events.Deliver(library.answers.early_drains(), 0);
  return library.answers.enable_events_queue().value_or(1);
}

bool NextEventBatch(int32_t reserved, std::string* batch) {
  Session session([reserved] { return Call("WN_GetEvents", {reserved}); });
  return !session.failed() && batch && session.library().events.NextBatch(batch);
}

void ResetForTesting() { Shutdown(); }

void Unload() { Shutdown(); }

void LeaveAsTheProcessEnds() { g_threads_gone = true; }

}  // namespace standin
