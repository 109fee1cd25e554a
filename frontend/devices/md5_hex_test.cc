#include "frontend/devices/md5_hex.h"

#include <gtest/gtest.h>

TEST(Md5HexTest, KnownDigestsInLowercase) {
  EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Md5Hex(""));
  EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", Md5Hex("abc"));
  // A zero byte inside is hashed like any other.
  EXPECT_EQ("70350f6027bce3713f6b76473084309b", Md5Hex(std::string("a\0b", 3)));
}
