#include "frontend/reports/device_rows.h"

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"

namespace {

Json::Value Parse(const std::string& text) {
  Json::Value value;
  EXPECT_TRUE(ParseJsonText(text, &value)) << text;
  return value;
}

std::string Describe(const DeviceState& state) {
  const ConnectionDetails& c = state.connection;
  return std::string(state.locked ? "locked" : "-") + " " + (state.connected ? "connected" : "-") +
         " " + (state.offline ? "offline" : "-") + " [" + c.client_id + "|" + c.kind + "|" +
         c.compression + "|" + c.connection_id + "]";
}

TEST(DeviceState, DerivedFromTheAnswer) {
  struct Case {
    const char* answer;
    bool local_computer;
    const char* expected;  // nullptr: the answer cannot be read
  } cases[] = {
      {R"({"status":"online"})", true, "- - - [|||]"},
      {R"({"status":"offline","locked":true})", true, "locked - offline [|||]"},
      // A locked device is never connected; its connect_info is not read.
      {R"({"status":"shared","locked":true,"connect_info":"x"})", true, "locked - - [|||]"},
      {R"({"status":"shared","locked":1,"connect_info":{"id_comp_client":"7"}})", true,
       "locked - - [|||]"},
      // Other computers have no locked state.
      {R"({"status":"shared","locked":true,"connect_info":{"id_comp_client":"7"}})", false,
       "- connected - [7|direct connection||]"},
      {R"({"status":"shared","locked":"yes"})", false, "- connected - [|||]"},
      {R"({"status":"Shared"})", false, "- - - [|||]"},
      {R"({"status":"shared"})", true, "- connected - [|||]"},
      {R"({"status":"shared","connect_info":null})", true, "- connected - [|||]"},
      {R"({"status":"shared","connect_info":[]})", true, "- connected - [|||]"},
      {R"({"status":"shared","connect_info":{}})", true, "- connected - [|||]"},
      {"null", true, "- - - [|||]"},
      {R"({"status":"shared","locked":"true"})", true, nullptr},
      {R"({"status":"online","locked":[true]})", true, nullptr},
      {R"({"status":"shared","connect_info":"c1"})", true, nullptr},
      {R"({"status":"shared","connect_info":[1]})", false, nullptr},
      {R"({"status":"online","connect_info":[1]})", false, "- - - [|||]"},
      {R"(["status","shared"])", false, nullptr},
  };
  for (const Case& c : cases) {
    DeviceState state;
    bool read = ReadDeviceState(Parse(c.answer), c.local_computer, &state);
    if (!c.expected) {
      EXPECT_FALSE(read) << c.answer;
      continue;
    }
    ASSERT_TRUE(read) << c.answer;
    EXPECT_EQ(c.expected, Describe(state)) << c.answer;
  }
}

TEST(DeviceState, ConnectionDetails) {
  struct Case {
    const char* connect_info;
    const char* expected;
  } cases[] = {
      {R"({"id_redirector":"r1","is_udp":true,"compress":"zlib"})",
       "connection via redirector bestsize"},
      {R"({"id_redirector":"","is_udp":true,"compress":"lz4"})", "udp connection bestspeed"},
      {R"({"is_udp":"true","compress":"no"})", "udp connection no"},
      {R"({"is_udp":"TRUE","compress":"LZ4"})", "direct connection LZ4"},
      {R"({"is_udp":1,"compress":"gzip"})", "direct connection gzip"},
      {R"({"id_redirector":null,"is_udp":false})", "direct connection "},
      {R"({"id_redirector":0})", "connection via redirector "},
  };
  for (const Case& c : cases) {
    ConnectionDetails details;
    ASSERT_TRUE(ReadConnectionDetails(Parse(c.connect_info), &details)) << c.connect_info;
    EXPECT_EQ(c.expected, details.kind + " " + details.compression) << c.connect_info;
  }
  ConnectionDetails details;
  ASSERT_TRUE(ReadConnectionDetails(
      Parse(R"({"id_connection":12,"id_comp_client":"41","compress":"zlib"})"), &details));
  EXPECT_EQ("12", details.connection_id);
  EXPECT_EQ("41", details.client_id);
}

}  // namespace
