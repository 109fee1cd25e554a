#include "wirenest/standin/world_queries.h"

#include <gtest/gtest.h>

#include "wirenest/standin/demo_world.h"

namespace standin {
namespace {

class WorldQueriesTest : public ::testing::Test {
 protected:
  World world_ = DemoWorld();
};

TEST_F(WorldQueriesTest, StatusFollowsTheLoginAndTheService) {
  EXPECT_EQ(1, IsOk(world_));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"pipe":"connected","serial_driver":"OK","server":"connected","usb_driver":"OK"})"}),
      Status(world_));
  world_.account->logged_in = false;
  EXPECT_EQ(0, IsOk(world_));
  EXPECT_NE(std::string::npos, Status(world_).text.find(R"("server":"login_required")"));
  world_.account->logged_in = true;
  world_.service.usb_driver = "not_installed";
  EXPECT_EQ(0, IsOk(world_));
}

TEST_F(WorldQueriesTest, PlainTexts) {
  EXPECT_EQ((Answer{1, "user@example.com"}), Email(world_));
  EXPECT_EQ((Answer{1, "2.6.0-standin"}), LibVersion(world_));
  EXPECT_EQ((Answer{0, ""}), Email(World()));
}

TEST_F(WorldQueriesTest, ComputerInfoForEachKindOfComputer) {
  const char* local = R"({"comp_name":"office-pc","devices":5,"id_comp":"41","local":true})";
  EXPECT_EQ((Answer{1, local}), ComputerInfo(world_, "local"));
  EXPECT_EQ((Answer{1, local}), ComputerInfo(world_, "41"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"comp_name":"home-laptop","devices":2,"id_comp":"43","local":false,"status":"offline"})"}),
      ComputerInfo(world_, "43"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"comp_name":"design-studio","devices":2,"email":"colleague@example.org","id_comp":"77","status":"online"})"}),
      ComputerInfo(world_, "77"));
  EXPECT_EQ((Answer{0, ""}), ComputerInfo(world_, "99"));
}

TEST_F(WorldQueriesTest, ComputerListsByFilter) {
  const struct {
    const char* filter;
    Answer list;
  } cases[] = {
      {"remote", {2, R"(["42","43"])"}},
      {"online-remote", {1, R"(["42"])"}},
      {"offline-remote", {1, R"(["43"])"}},
      {"other", {2, R"(["77","78"])"}},
      {"online-other", {1, R"(["77"])"}},
      {"offline-other", {1, R"(["78"])"}},
      {"local", {-1, ""}},
      {"online-", {-1, ""}},
      {"online-offline-remote", {-1, ""}},
      {"Remote", {-1, ""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.list, ComputersList(world_, c.filter)) << c.filter;
}

TEST_F(WorldQueriesTest, DeviceListsOfOwnAndOfferingComputers) {
  EXPECT_EQ((Answer{5, R"(["usb-1-3","usb-1-4","usb-2-1","com-5","usb-3-2"])"}),
            DevicesList(world_, "local"));
  EXPECT_EQ((Answer{2, R"(["usb-2-2","com-3"])"}), DevicesList(world_, "43"));
  EXPECT_EQ((Answer{-1, ""}), DevicesList(world_, "99"));
  // A device of another account is known only while an invite offers it.
  world_.other[0].devices[0].invites.clear();
  EXPECT_EQ((Answer{1, R"(["usb-1-6"])"}), DevicesList(world_, "77"));
  EXPECT_EQ((Answer{0, ""}), DeviceInfo(world_, "77", "usb-1-5"));
  world_.other[0].devices[1].invites.clear();
  EXPECT_EQ((Answer{1, R"(["78"])"}), ComputersList(world_, "other"));
  EXPECT_EQ((Answer{0, ""}), ComputerInfo(world_, "77"));
}

TEST_F(WorldQueriesTest, DeviceInfo) {
  EXPECT_EQ(
      (Answer{
          1,
          R"({"connect_info":{"compress":"zlib","id_comp_client":"42","id_connection":"conn-1001","id_redirector":"redirector-eu-2","is_udp":false,"reconnect":true},"description":"","invites":[],"locked":false,"name":"FTDI FT232R USB UART","status":"shared"})"}),
      DeviceInfo(world_, "local", "usb-2-1"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"description":"","invites":[{"email":"colleague@example.org","id_invite":"inv-301","status":"created"}],"locked":false,"name":"USB to Serial","status":"free"})"}),
      DeviceInfo(world_, "41", "com-5"));
  // A remembered connection of an offline device is not shown.
  EXPECT_EQ(
      (Answer{
          1,
          R"({"comport_name":"COM7","description":"","invites":[],"name":"Prolific USB-to-Serial Comm Port","status":"offline"})"}),
      DeviceInfo(world_, "43", "com-3"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"description":"","invites":[{"email":"colleague@example.org","id_invite":"inv-501","status":"created"}],"name":"Epson Perfection V39 Scanner","status":"free"})"}),
      DeviceInfo(world_, "77", "usb-1-5"));
  EXPECT_EQ((Answer{0, ""}), DeviceInfo(world_, "41", "usb-9-9"));
  EXPECT_EQ((Answer{0, ""}), DeviceInfo(world_, "99", "usb-1-3"));
}

TEST_F(WorldQueriesTest, InviteInfoNamesBothSides) {
  EXPECT_EQ(
      (Answer{
          1,
          R"({"from":"user@example.com","id_comp":"41","id_device":"com-5","id_invite":"inv-301","status":"created","to":"colleague@example.org"})"}),
      InviteInfo(world_, "inv-301"));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"from":"maker@example.net","id_comp":"78","id_device":"com-2","id_invite":"inv-601","status":"accepted","to":"user@example.com"})"}),
      InviteInfo(world_, "inv-601"));
  EXPECT_EQ((Answer{0, ""}), InviteInfo(world_, "inv-999"));
}

TEST_F(WorldQueriesTest, StoredDocuments) {
  EXPECT_EQ((Answer{1, R"({"compress":"bestspeed","reconnect":"true"})"}),
            DefaultConnectParameters(world_));
  EXPECT_EQ((Answer{1, "{}"}), DefaultConnectParameters(World()));
  EXPECT_EQ(
      (Answer{
          1,
          R"({"proxy_auth":{"enabled":false,"proxy_passwd":"","proxy_user":""},"proxy_settings":{"enabled":false,"proxy_host":"proxy.example.com","proxy_port":"3128","proxy_type":"http"}})"}),
      ProxySettings(world_));
}

}  // namespace
}  // namespace standin
