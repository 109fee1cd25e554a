#include "wirenest/standin/world_json.h"

#include <gtest/gtest.h>

#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/json_text.h"

namespace standin {
namespace {

Json::Value ParsedJson(const std::string& text) {
  Json::Value json;
  std::string error;
  EXPECT_TRUE(ParseJson(text, &json, &error)) << error;
  return json;
}

TEST(WorldJsonTest, TheDemoWorldReadsAndSurvivesARoundTrip) {
  World world;
  std::string error;
  ASSERT_TRUE(WorldFromJson(ParsedJson(DemoWorldJson()), "world", &world, &error)) << error;
  Json::Value json = WorldToJson(world);
  World again;
  ASSERT_TRUE(WorldFromJson(json, "world", &again, &error)) << error;
  EXPECT_EQ(json, WorldToJson(again));
  EXPECT_TRUE(PasswordMatches(again.account->password, "secret"));
  EXPECT_EQ(std::string::npos, CompactJson(json).find("secret"));
  EXPECT_FALSE(json["account"].isMember("password"));
}

TEST(WorldJsonTest, AbsentMembersTakeTheirDefaults) {
  World world;
  std::string error;
  ASSERT_TRUE(WorldFromJson(ParsedJson(R"({"local": {"id_comp": "1", "devices": [{"id": "d"}]}})"),
                            "world", &world, &error));
  EXPECT_FALSE(world.account);
  EXPECT_FALSE(world.service.server);
  EXPECT_EQ("connected", world.service.pipe);
  const Device& device = world.local->devices.at(0);
  EXPECT_EQ("free", device.status);
  EXPECT_FALSE(device.locked);
  EXPECT_FALSE(device.connect_info);
}

TEST(WorldJsonTest, WrongTypesAreRefusedNamingTheMember) {
  const struct {
    const char* world;
    const char* problem;
  } cases[] = {
      {"[]", "world must be an object"},
      {R"({"version": 2})", "world.version must be a string"},
      {R"({"account": {"logged_in": "yes"}})", "world.account.logged_in must be a boolean"},
      {R"({"account": {"password": 1234}})", "world.account.password must be a string"},
      {R"({"service": {"server": null}})", "world.service.server must be a string"},
      {R"({"local": {"comp_name": "pc"}})", "world.local.id_comp is missing"},
      {R"({"local": {"id_comp": "1", "devices": {}}})", "world.local.devices must be a list"},
      {R"({"remote": [{"id_comp": "2", "devices": [{"id": "d", "locked": 1}]}]})",
       "world.remote[0].devices[0].locked must be a boolean"},
      {R"({"other": [{"id_comp": "3", "devices": [{"id": "d", "invites": [{}]}]}]})",
       "world.other[0].devices[0].invites[0].id_invite is missing"},
      {R"({"local": {"id_comp": "1", "devices": [{"id": "d", "connect_info": []}]}})",
       "world.local.devices[0].connect_info must be an object"},
      {R"({"local": {"id_comp": "1", "devices": [{"id": "d", "connect_info": {"is_udp": "true"}}]}})",
       "world.local.devices[0].connect_info.is_udp must be a boolean"},
      {R"({"proxy": "none"})", "world.proxy must be an object"},
      {R"({"default_params": []})", "world.default_params must be an object"},
  };
  for (const auto& c : cases) {
    World world;
    std::string error;
    EXPECT_FALSE(WorldFromJson(ParsedJson(c.world), "world", &world, &error)) << c.world;
    EXPECT_EQ(c.problem, error) << c.world;
  }
}

}  // namespace
}  // namespace standin
