#include "wirenest/standin/scenario.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "wirenest/standin/world_queries.h"

namespace standin {
namespace {

TEST(ScenarioTest, WithoutAWorldTheWorldIsEmpty) {
  Scenario scenario;
  std::string error;
  ASSERT_TRUE(ParseScenario(R"({"answers": {"is_ok": 1}})", &scenario, &error)) << error;
  EXPECT_EQ(1, scenario.answers.NextIsOk());
  EXPECT_FALSE(scenario.world.local);
  EXPECT_EQ(0, IsOk(scenario.world));
  EXPECT_EQ((Answer{-1, ""}), DevicesList(scenario.world, "local"));
  EXPECT_EQ((Answer{0, "[]"}), ComputersList(scenario.world, "remote"));
}

TEST(ScenarioTest, ReadsTheWorldAndTheAnswers) {
  TempDir dir;
  WriteFile(dir.File("s.json"), R"({
    "world": {"local": {"id_comp": "7", "comp_name": "pc"}},
    "answers": {"email": [1, "x@y.z"]}})");
  Scenario scenario;
  std::string error;
  ASSERT_TRUE(ReadScenario(dir.File("s.json"), &scenario, &error)) << error;
  EXPECT_EQ("pc", scenario.world.local->comp_name);
  EXPECT_EQ((Answer{1, "x@y.z"}), scenario.answers.email());
}

TEST(ScenarioTest, BadFilesSayWhatIsWrong) {
  TempDir dir;
  const struct {
    const char* content;  // null: no file
    const char* problem;
  } cases[] = {
#ifdef _WIN32
      {nullptr, "cannot be read: "},  // in the system's own words
#else
      {nullptr, "cannot be read: No such file or directory"},
#endif
      {"{\"answers\": {", "invalid JSON: "},
      {"{} {}", "invalid JSON: "},
      {"[1]", "the scenario must be an object"},
      {R"({"world": {"version": 1}})", "world.version must be a string"},
      {R"({"answers": {"requests": []}})", "answers.requests must be an object"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File("bad.json");
    remove(path.c_str());
    if (c.content)
      WriteFile(path, c.content);
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(ReadScenario(path, &scenario, &error)) << c.problem;
    EXPECT_EQ(0u, error.find(c.problem)) << error;
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
  }
}

}  // namespace
}  // namespace standin
