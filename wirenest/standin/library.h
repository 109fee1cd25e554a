// The library's state, made on the first call from the environment:
// WIRENEST_SCENARIO, WIRENEST_STATE and WIRENEST_CALL_LOG. Every function
// here logs its call first; after a bad scenario or state file each then
// fails.
#ifndef WIRENEST_STANDIN_LIBRARY_H_
#define WIRENEST_STANDIN_LIBRARY_H_

#include <stdint.h>

#include <functional>
#include <optional>
#include <string>

#include <json/json.h>

#include "wirenest/standin/answer.h"
#include "wirenest/standin/event_thread.h"
#include "wirenest/standin/scripted_answers.h"
#include "wirenest/standin/world.h"

namespace standin {

using ScriptedQuery = std::function<std::optional<Answer>(ScriptedAnswers*)>;
using WorldQuery = std::function<Answer(const World&)>;
// Changes the world and gives the "error" of the answer, "OK" on success.
using Effect = std::function<std::string(World*)>;
// Work done before the state is locked, on the account as this run last saw
// it, so that a costly check keeps no other process waiting.
using AccountCheck = std::function<void(const std::optional<Account>&)>;

// `call` is the call as logged; `failure` answers when the library failed.
Answer Query(const Json::Value& call, const Answer& failure, const ScriptedQuery& scripted,
             const WorldQuery& from_world);
// The command id, at once; the work and the answer follow on the library's
// threads.
uint32_t StartRequest(const Json::Value& call, Effect effect, AccountCheck check = nullptr);
int32_t SetDefaultConnectParameters(const std::string& params);
int32_t SetEventCallback(EventCallback callback);
int32_t EnableEventsQueue(int32_t enable);
// False, taking nothing, for a null `batch`.
bool NextEventBatch(int32_t reserved, std::string* batch);

// Stops the library's thread and forgets everything, so that the next call
// starts afresh from the environment.
void ResetForTesting();

// The library is unloaded: its threads are stopped and its state freed.
void Unload();
// The process ends having ended the library's threads itself, as Windows
// does before it unloads a library, maybe while one held a lock: nothing is
// stopped, waited for or freed from then on.
void LeaveAsTheProcessEnds();

}  // namespace standin

#endif  // WIRENEST_STANDIN_LIBRARY_H_
