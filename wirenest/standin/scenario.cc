#include "wirenest/standin/scenario.h"

#include "wirenest/standin/files.h"
#include "wirenest/standin/json_fields.h"
#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_json.h"

namespace standin {

bool ReadScenario(const std::string& path, Scenario* scenario, std::string* error) {
  std::string text;
  return ReadWholeFile(path, &text, error) && ParseScenario(text, scenario, error);
}

bool ParseScenario(const std::string& text, Scenario* scenario, std::string* error) {
  Json::Value json;
  if (!ParseJson(text, &json, error))
    return false;
  if (!RequireObject(json, "the scenario", error))
    return false;
  Scenario parsed;
  if (json.isMember("world") && !WorldFromJson(json["world"], "world", &parsed.world, error))
    return false;
  if (json.isMember("answers") && !ScriptedAnswers::Parse(json["answers"], &parsed.answers, error))
    return false;
  *scenario = std::move(parsed);
  return true;
}

}  // namespace standin
