#include "wirenest/standin/password_hash.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(PasswordHashTest, MatchesOnlyTheSamePassword) {
  PasswordHash hash = HashPassword("secret");
  EXPECT_TRUE(PasswordMatches(hash, "secret"));
  EXPECT_FALSE(PasswordMatches(hash, "Secret"));
  EXPECT_FALSE(PasswordMatches(hash, ""));
  EXPECT_FALSE(PasswordMatches(PasswordHash(), ""));
}

TEST(PasswordHashTest, SaltsDifferAndHideThePassword) {
  PasswordHash first = HashPassword("secret"), second = HashPassword("secret");
  EXPECT_NE(first.salt, second.salt);
  EXPECT_NE(first.digest, second.digest);
  EXPECT_EQ(32u, first.digest.size());
  EXPECT_EQ(std::string::npos, first.digest.find("secret"));
  EXPECT_EQ(DigestPassword(first.salt, "secret"), first.digest);
}

}  // namespace
}  // namespace standin
