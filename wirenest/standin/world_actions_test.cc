#include "wirenest/standin/world_actions.h"

#include <functional>

#include <gtest/gtest.h>

#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/world_json.h"
#include "wirenest/standin/world_queries.h"

namespace standin {
namespace {

class WorldActionsTest : public ::testing::Test {
 protected:
  const Device& LocalDevice(size_t index) { return world_.local->devices.at(index); }
  const Device& RemoteDevice(size_t computer, size_t index) {
    return world_.remote.at(computer).devices.at(index);
  }

  World world_ = DemoWorld();
};

TEST_F(WorldActionsTest, LoginChecksTheAccount) {
  auto login = [](World* world, const std::string& email, const std::string& password) {
    PasswordCheck check(password);
    return LoginComputer(world, email, &check);
  };
  EXPECT_EQ("already_logged_in", login(&world_, "user@example.com", "secret"));
  world_.account->logged_in = false;
  EXPECT_EQ("wrong_credentials", login(&world_, "user@example.com", "Secret"));
  EXPECT_EQ("wrong_credentials", login(&world_, "someone@example.com", "secret"));
  EXPECT_EQ("OK", login(&world_, "User@Example.COM", "secret"));
  EXPECT_TRUE(world_.account->logged_in);
  EXPECT_EQ("wrong_credentials", login(&(world_ = World()), "a@b.c", ""));
}

TEST_F(WorldActionsTest, LogoutEndsTheLoginOrRemovesARemoteComputer) {
  EXPECT_EQ("OK", LogoutComputer(&world_, "42"));
  EXPECT_EQ((Answer{1, R"(["43"])"}), ComputersList(world_, "remote"));
  EXPECT_EQ("access_denied", LogoutComputer(&world_, "77"));
  EXPECT_EQ("OK", LogoutComputer(&world_, "local"));
  EXPECT_EQ("login_required", ServerStatus(world_));
  EXPECT_EQ("not_logged_in", LogoutComputer(&world_, "local"));
}

TEST_F(WorldActionsTest, NamesDescriptionsLocksAndPorts) {
  EXPECT_EQ("OK", NameComputer(&world_, "local", "desk"));
  EXPECT_EQ("desk", world_.local->comp_name);
  EXPECT_EQ("OK", SetDeviceDescription(&world_, "41", "usb-1-3", ""));
  EXPECT_EQ("", LocalDevice(0).description);
  EXPECT_EQ("OK", LockDevice(&world_, "41", "usb-1-3", true));
  EXPECT_TRUE(LocalDevice(0).locked);
  EXPECT_EQ("OK", LockDevice(&world_, "41", "usb-1-4", false));
  EXPECT_FALSE(LocalDevice(1).locked);
  EXPECT_EQ("OK", SetComportName(&world_, "42", "com-1", "COM9"));
  EXPECT_EQ("COM9", RemoteDevice(0, 3).comport_name);
}

TEST_F(WorldActionsTest, ConnectsWithTheGivenOrDefaultParameters) {
  EXPECT_EQ("OK", ConnectDevice(&world_, "42", "com-1", R"({"compress":"bestsize"})"));
  const Device& device = RemoteDevice(0, 3);
  EXPECT_EQ("shared", device.status);
  ASSERT_TRUE(device.connect_info);
  EXPECT_EQ("conn-1007", device.connect_info->id_connection);
  EXPECT_EQ("41", device.connect_info->id_comp_client);
  EXPECT_EQ("zlib", device.connect_info->compress);
  EXPECT_TRUE(device.connect_info->reconnect);

  EXPECT_EQ("OK", ChangeConnectionParameters(&world_, "42", "com-1",
                                             R"({"compress":"no","reconnect":"false"})"));
  EXPECT_EQ("no", device.connect_info->compress);
  EXPECT_FALSE(device.connect_info->reconnect);
  EXPECT_EQ("OK", DisconnectDevice(&world_, "42", "com-1"));
  EXPECT_EQ("free", device.status);
  EXPECT_FALSE(device.connect_info);

  EXPECT_EQ("OK", AcceptInvite(&world_, "inv-501"));
  EXPECT_EQ("OK", ConnectDevice(&world_, "77", "usb-1-5", "{}"));
  EXPECT_EQ("lz4", world_.other[0].devices[0].connect_info->compress);
}

TEST_F(WorldActionsTest, ForgettingAWaitingConnectionForgetsTheOwnDevice) {
  EXPECT_EQ("OK", ForgetConnection(&world_, "43", "usb-2-2"));
  EXPECT_EQ((Answer{1, R"(["com-3"])"}), DevicesList(world_, "43"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"comp_name":"home-laptop","devices":1,"id_comp":"43","local":false,"status":"offline"})"}),
      ComputerInfo(world_, "43"));
  EXPECT_EQ("device_not_found", ForgetConnection(&world_, "43", "usb-2-2"));

  // An offline device of an online computer alike.
  world_.remote[0].devices[2].connect_info = ConnectInfo();
  EXPECT_EQ("OK", ForgetConnection(&world_, "42", "usb-1-2"));
  EXPECT_EQ((Answer{3, R"(["usb-1-1","usb-4-1","com-1"])"}), DevicesList(world_, "42"));
}

TEST_F(WorldActionsTest, ForgettingAReachableOrOfferedDeviceKeepsIt) {
  world_.other[1].devices[0].connect_info = ConnectInfo();
  const struct {
    const char* id_comp;
    const char* id_device;
    const char* status_after;
  } cases[] = {
      {"41", "usb-2-1", "free"},
      {"42", "usb-1-1", "free"},
      {"77", "usb-1-6", "free"},
      {"78", "com-2", "offline"},
  };
  for (const auto& c : cases) {
    const int32_t devices = DevicesList(world_, c.id_comp).result;
    EXPECT_EQ("OK", ForgetConnection(&world_, c.id_comp, c.id_device)) << c.id_device;
    std::optional<DevicePlace> place = FindDevice(world_, c.id_comp, c.id_device);
    ASSERT_TRUE(place) << c.id_device;
    EXPECT_FALSE(DeviceAt(world_, *place).connect_info) << c.id_device;
    EXPECT_EQ(c.status_after, DeviceAt(world_, *place).status) << c.id_device;
    EXPECT_EQ(devices, DevicesList(world_, c.id_comp).result) << c.id_device;
    EXPECT_EQ("connection_not_found", ForgetConnection(&world_, c.id_comp, c.id_device));
  }
}

TEST_F(WorldActionsTest, InvitesAreMadeAcceptedAndDeleted) {
  EXPECT_EQ("OK", MakeInvite(&world_, "local", "usb-3-2", "friend@example.org"));
  ASSERT_EQ(1u, LocalDevice(4).invites.size());
  EXPECT_EQ("inv-602", LocalDevice(4).invites[0].id_invite);
  EXPECT_EQ("created", LocalDevice(4).invites[0].status);
  EXPECT_EQ("OK", AcceptInvite(&world_, "inv-501"));
  EXPECT_EQ("accepted", world_.other[0].devices[0].invites[0].status);
  EXPECT_EQ("OK", DeleteInvite(&world_, "inv-602"));
  EXPECT_TRUE(LocalDevice(4).invites.empty());
  EXPECT_EQ("OK", DeleteInvite(&world_, "inv-601"));
  EXPECT_EQ((Answer{1, R"(["77"])"}), ComputersList(world_, "other"));
}

TEST_F(WorldActionsTest, RefusalsLeaveTheWorldAsItWas) {
  const struct {
    const char* error;
    std::function<std::string(World*)> action;
  } cases[] = {
      {"computer_not_found", [](World* w) { return LockDevice(w, "99", "usb-1-3", true); }},
      {"device_not_found", [](World* w) { return LockDevice(w, "41", "usb-9", true); }},
      {"device_not_local", [](World* w) { return LockDevice(w, "42", "com-1", true); }},
      {"access_denied", [](World* w) { return NameComputer(w, "77", "x"); }},
      {"invalid_name", [](World* w) { return NameComputer(w, "41", ""); }},
      {"access_denied", [](World* w) { return SetDeviceDescription(w, "77", "usb-1-5", "x"); }},
      {"device_is_local", [](World* w) { return ConnectDevice(w, "41", "usb-1-3", "{}"); }},
      {"device_offline", [](World* w) { return ConnectDevice(w, "42", "usb-1-2", "{}"); }},
      {"device_offline", [](World* w) { return ConnectDevice(w, "43", "com-3", "{}"); }},
      {"device_busy", [](World* w) { return ConnectDevice(w, "42", "usb-1-1", "{}"); }},
      {"invite_not_accepted", [](World* w) { return ConnectDevice(w, "77", "usb-1-5", "{}"); }},
      {"invalid_parameters",
       [](World* w) { return ConnectDevice(w, "42", "com-1", R"({"compress":"best"})"); }},
      {"invalid_parameters", [](World* w) { return ConnectDevice(w, "42", "com-1", "{"); }},
      {"device_not_connected", [](World* w) { return DisconnectDevice(w, "42", "com-1"); }},
      {"device_not_connected",
       [](World* w) { return ChangeConnectionParameters(w, "43", "usb-2-2", "{}"); }},
      {"device_is_local", [](World* w) { return SetComportName(w, "41", "com-5", "COM1"); }},
      {"invalid_email", [](World* w) { return MakeInvite(w, "41", "usb-1-3", "nobody"); }},
      {"cannot_invite_self",
       [](World* w) { return MakeInvite(w, "41", "usb-1-3", "USER@example.com"); }},
      {"access_denied", [](World* w) { return MakeInvite(w, "77", "usb-1-5", "a@b.c"); }},
      {"own_invite", [](World* w) { return AcceptInvite(w, "inv-301"); }},
      {"invite_already_accepted", [](World* w) { return AcceptInvite(w, "inv-502"); }},
      {"invite_not_found", [](World* w) { return DeleteInvite(w, "inv-9"); }},
      {"invalid_parameters", [](World* w) { return SetProxySettings(w, "[]"); }},
      {"not_logged_in",
       [](World* w) {
         w->account->logged_in = false;
         return LockDevice(w, "41", "usb-1-3", true);
       }},
  };
  const Json::Value before = WorldToJson(world_);
  for (const auto& c : cases) {
    World world = DemoWorld();
    EXPECT_EQ(c.error, c.action(&world));
    world.account->logged_in = true;
    EXPECT_EQ(before["local"], WorldToJson(world)["local"]) << c.error;
    EXPECT_EQ(before["remote"], WorldToJson(world)["remote"]) << c.error;
    EXPECT_EQ(before["other"], WorldToJson(world)["other"]) << c.error;
  }
}

TEST_F(WorldActionsTest, StoresDocumentsThatAreObjects) {
  EXPECT_TRUE(SetDefaultConnectParameters(&world_, R"({"compress":"bestsize"})"));
  EXPECT_EQ((Answer{1, R"({"compress":"bestsize","reconnect":"true"})"}),
            DefaultConnectParameters(world_));
  EXPECT_FALSE(SetDefaultConnectParameters(&world_, "{\"compress\""));
  EXPECT_FALSE(SetDefaultConnectParameters(&world_, "[]"));
  EXPECT_EQ("OK", SetProxySettings(&world_, R"({"proxy_settings":{"enabled":true}})"));
  EXPECT_EQ((Answer{1, R"({"proxy_settings":{"enabled":true}})"}), ProxySettings(world_));
}

// The demo world's defaults are {"compress":"bestspeed","reconnect":"true"}.
TEST_F(WorldActionsTest, DefaultParametersKeepTheMembersADocumentDoesNotName) {
  const struct {
    const char* document;
    const char* stored;
  } cases[] = {
      {"{}", R"({"compress":"bestspeed","reconnect":"true"})"},
      {R"({"reconnect":"false"})", R"({"compress":"bestspeed","reconnect":"false"})"},
      {R"({"compress":"no","other":[1]})", R"({"compress":"no","other":[1],"reconnect":"true"})"},
      {R"({"compress":null})", R"({"reconnect":"true"})"},
      {R"({"compress":"","reconnect":null})", "{}"},
  };
  for (const auto& c : cases) {
    World world = DemoWorld();
    EXPECT_TRUE(SetDefaultConnectParameters(&world, c.document)) << c.document;
    EXPECT_EQ((Answer{1, c.stored}), DefaultConnectParameters(world)) << c.document;
  }
  EXPECT_TRUE(SetDefaultConnectParameters(&world_, R"({"compress":"bestsize"})"));
  EXPECT_TRUE(SetDefaultConnectParameters(&world_, R"({"reconnect":"false"})"));
  EXPECT_EQ("OK", ConnectDevice(&world_, "42", "com-1", "{}"));
  EXPECT_EQ("zlib", RemoteDevice(0, 3).connect_info->compress);
  EXPECT_FALSE(RemoteDevice(0, 3).connect_info->reconnect);
}

}  // namespace
}  // namespace standin
