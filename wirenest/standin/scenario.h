// A scenario file: {"world": ..., "answers": ...}, both optional.
#ifndef WIRENEST_STANDIN_SCENARIO_H_
#define WIRENEST_STANDIN_SCENARIO_H_

#include <string>

#include "wirenest/standin/scripted_answers.h"
#include "wirenest/standin/world.h"

namespace standin {

struct Scenario {
  World world;  // empty when the file has none
  ScriptedAnswers answers;
};

// False with *error saying what is wrong with the file.
bool ReadScenario(const std::string& path, Scenario* scenario, std::string* error);
// The same for a text, e.g. one a test writes.
bool ParseScenario(const std::string& text, Scenario* scenario, std::string* error);

}  // namespace standin

#endif  // WIRENEST_STANDIN_SCENARIO_H_
