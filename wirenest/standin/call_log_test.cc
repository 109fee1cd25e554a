#include "wirenest/standin/call_log.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(CallLogTest, LinesAreCompactArraysOfNameAndInputs) {
  EXPECT_EQ("[\"WN_IsOK\"]\n", CallLogLine(Call("WN_IsOK")));
  EXPECT_EQ("[\"WN_LockDeviceAsync\",\"41\",\"usb-7\",1,-1]\n",
            CallLogLine(Call("WN_LockDeviceAsync", {"41", "usb-7", 1, -1})));
  EXPECT_EQ("[\"WN_SetProxySettingsAsync\",\"{\\\"a\\\":\\\"b\\\\\\\\c\\\"}\",-1]\n",
            CallLogLine(Call("WN_SetProxySettingsAsync", {"{\"a\":\"b\\\\c\"}", -1})));
  EXPECT_EQ("[\"WN_GetDevicesList\",\"Büro-PC\"]\n",
            CallLogLine(Call("WN_GetDevicesList", {"Büro-PC"})));
}

TEST(CallLogTest, PasswordsShowOnlyTheirLengthInCharacters) {
  const struct {
    const char* password;
    const char* shown;
  } cases[] = {
      {"", "<password: 0 characters>"},
      {"secret", "<password: 6 characters>"},
      {"pässwörd", "<password: 8 characters>"},
      {"\xF0\x9F\x94\x91 key", "<password: 5 characters>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.shown, PasswordPlaceholder(c.password)) << c.password;
}

}  // namespace
}  // namespace standin
