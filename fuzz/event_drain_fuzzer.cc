// The event drain over any batches, and the answer check over what it hands
// over. The input gives a command id, then up to kMaxBatches batches (each a
// result and a value of any type), then a prepared answer that must be lost.
#include <stdint.h>

#include <string>

#include <json/value.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/event_channel.h"
#include "fuzz/fake_library.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_script.h"
#include "fuzz/standard_streams.h"

namespace {

const int kMaxBatches = 16;
const char kParseError[] = "ERROR: Can't parse json event\n";

// What the drain must hand over: the last "command_result" object of the
// batches up to the first that says none or does not parse.
struct Expected {
  Json::Value answer;
  bool parse_error = false;
};

void Follow(const FakeAnswer& batch, bool* draining, Expected* expected) {
  if (!*draining || batch.result == 0) {
    *draining = false;
    return;
  }
  ScopedVariant value;
  FillFakeValue(batch, value.out());
  Json::Value events;
  if (!VariantToJson(value.get(), &events)) {
    expected->parse_error = true;
    *draining = false;
    return;
  }
  if (!events.isArray())
    return;
  for (const Json::Value& event : events) {
    const Json::Value& kind = JsonMember(event, "event");
    if (event.isObject() && kind.isString() && kind.asString() == "command_result")
      expected->answer = event;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  WN_CommandId id = input.ConsumeIntegral<WN_CommandId>();
  ResetFakeLibrary(nullptr);
  // An answer stored before the preparation is forgotten by it.
  {
    Json::Value stale(Json::objectValue);
    stale["event"] = "command_result";
    HandleLibraryEvent(stale);
  }
  PrepareForCommandResult();
  FuzzCheck(!WaitForCommandResult(0) && TakeCommandResult().isNull(),
            "the preparation kept an earlier answer");

  int batches = input.ConsumeIntegralInRange(0, kMaxBatches);
  bool draining = true;
  Expected expected;
  for (int i = 0; i < batches; ++i) {
    FakeAnswer batch = DrawAnswer(input);
    QueueFakeEvents(batch);
    Follow(batch, &draining, &expected);
  }

  BeginCapturingOutput();
  OnLibraryEvents();
  std::string output = TakeCapturedOutput();

  FuzzCheck(output == (expected.parse_error ? kParseError : ""),
            "the drain printed other than one parse error");
  Json::Value answer = TakeCommandResult();
  FuzzCheck(answer == expected.answer, "the drain handed over another answer");
  FuzzCheck(WaitForCommandResult(0) == !answer.isNull(),
            "the answer event does not say whether there is an answer");

  std::string error;
  AnswerOutcome outcome = CheckCommandAnswer(answer, id, &error);
  if (outcome == AnswerOutcome::Success) {
    WN_CommandId answered = 0;
    FuzzCheck(ReadCommandId(JsonMember(answer, "id_cmd"), &answered) && answered == id &&
                  JsonMemberText(answer, "status") == "finished" &&
                  JsonMemberText(JsonMember(answer, "result"), "error") == "OK",
              "an answer passed the check without being the request's success");
  }
  return 0;
}
