#include "wirenest/standin/state_file.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/test_files.h"
#include "wirenest/standin/world_json.h"

namespace standin {
namespace {

TEST(StateFileTest, KeepsTheWorldPrivatelyWithoutTheAccountPassword) {
  TempDir dir;
  const std::string path = dir.File("new/state/world.json");
  World world = DemoWorld();
  world.proxy["proxy_auth"]["proxy_passwd"] = "proxy-pass";
  ASSERT_TRUE(SaveState(path, world));
  EXPECT_EQ(0600u, FileMode(path));
  EXPECT_EQ(0700u, FileMode(dir.File("new/state")));
  EXPECT_EQ(0700u, FileMode(dir.File("new")));
  std::string text = ReadTextFile(path);
  EXPECT_EQ(std::string::npos, text.find("secret"));
  EXPECT_NE(std::string::npos, text.find("proxy-pass"));

  World loaded;
  std::string error;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &loaded, &error)) << error;
  EXPECT_EQ(WorldToJson(world), WorldToJson(loaded));
  EXPECT_TRUE(PasswordMatches(loaded.account->password, "secret"));
}

TEST(StateFileTest, ReplacesTheFileWholeAndLeavesNothingBeside) {
  TempDir dir;
  const std::string path = dir.File("world.json");
  World world = DemoWorld();
  ASSERT_TRUE(SaveState(path, world));
  world.local->comp_name = "renamed";
  ASSERT_TRUE(SaveState(path, world));
  World loaded;
  std::string error;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(path, &loaded, &error));
  EXPECT_EQ("renamed", loaded.local->comp_name);
  EXPECT_EQ(0u, FileMode(path + ".tmp-" + std::to_string(getpid())));
}

TEST(StateFileTest, TellsAMissingFileFromABadOne) {
  TempDir dir;
  World world;
  std::string error;
  EXPECT_EQ(StateLoad::kMissing, LoadState(dir.File("none.json"), &world, &error));
  WriteTextFile(dir.File("broken.json"), "{\"local\":");
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.File("broken.json"), &world, &error));
  EXPECT_EQ(0u, error.find("invalid JSON")) << error;
  WriteTextFile(dir.File("typed.json"), R"({"remote": [{"id_comp": 42}]})");
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.File("typed.json"), &world, &error));
  EXPECT_EQ("world.remote[0].id_comp must be a string", error);
  EXPECT_EQ(StateLoad::kBad, LoadState(dir.path(), &world, &error));
}

TEST(StateFileTest, TheDefaultPathFollowsXdgStateHome) {
  ScopedEnvironment environment;
  environment.Set("XDG_STATE_HOME", "/xdg/state");
  environment.Set("HOME", "/home/someone");
  EXPECT_EQ("/xdg/state/wirenest/standin-world.json", DefaultStatePath());
  environment.Set("XDG_STATE_HOME", "relative/ignored");
  EXPECT_EQ("/home/someone/.local/state/wirenest/standin-world.json", DefaultStatePath());
  environment.Unset("XDG_STATE_HOME");
  environment.Unset("HOME");
  EXPECT_EQ("", DefaultStatePath());
}

}  // namespace
}  // namespace standin
