#include "wirenest/standin/password_hash.h"

#include <chrono>

#include <gtest/gtest.h>

#include "wirenest/standin/world_actions.h"

namespace standin {
namespace {

// "secret" under the self-made digest that state files held before.
PasswordHash OldFormOfSecret() {
  PasswordHash hash;
  hash.salt = "5eed0ff1ce5eed01";
  hash.digest = "1c01649123e8a7c8c158aad41b598c3a";
  return hash;
}

TEST(PasswordHashTest, MatchesOnlyTheSamePasswordInEitherForm) {
  const PasswordHash forms[] = {HashPassword("secret"), OldFormOfSecret()};
  for (const PasswordHash& hash : forms) {
    SCOPED_TRACE(hash.kdf);
    EXPECT_TRUE(PasswordMatches(hash, "secret"));
    EXPECT_FALSE(PasswordMatches(hash, "Secret"));
    EXPECT_FALSE(PasswordMatches(hash, ""));
    PasswordHash other_salt = hash;
    other_salt.salt[0] = other_salt.salt[0] == '0' ? '1' : '0';
    EXPECT_FALSE(PasswordMatches(other_salt, "secret"));
  }
  EXPECT_FALSE(PasswordMatches(PasswordHash(), ""));
  PasswordHash unknown = HashPassword("secret");
  unknown.kdf = "rot13";
  EXPECT_FALSE(PasswordMatches(unknown, "secret"));
}

TEST(PasswordHashTest, TheCurrentFormIsPbkdf2WithFreshSalts) {
  PasswordHash first = HashPassword("secret"), second = HashPassword("secret");
  EXPECT_EQ("pbkdf2-hmac-sha256", first.kdf);
  EXPECT_TRUE(IsCurrentForm(first));
  EXPECT_FALSE(IsCurrentForm(OldFormOfSecret()));
  EXPECT_NE(first.salt, second.salt);
  EXPECT_NE(first.digest, second.digest);
  EXPECT_EQ(64u, first.digest.size());
  PasswordHash fewer = first;
  fewer.iterations = first.iterations - 1;
  EXPECT_FALSE(PasswordMatches(fewer, "secret"));
  EXPECT_FALSE(IsCurrentForm(fewer));
}

// A password read in clear is hashed when a check or a save first needs it,
// and every copy of it then has that one hash.
TEST(PasswordHashTest, AClearPasswordIsHashedOnceForEveryCopy) {
  const PasswordHash read = HashWhenNeeded("secret");
  const PasswordHash copy = read;
  EXPECT_TRUE(read.digest.empty());
  EXPECT_TRUE(PasswordMatches(copy, "secret"));
  EXPECT_FALSE(PasswordMatches(read, "Secret"));
  const PasswordHash& stored = StoredForm(read);
  EXPECT_EQ(stored, StoredForm(copy));
  EXPECT_TRUE(IsCurrentForm(stored));
  EXPECT_TRUE(PasswordMatches(stored, "secret"));
  EXPECT_FALSE(HashWhenNeeded("secret") == read);
}

// The password is hashed once as the key, not once per iteration: a wrong
// megabyte costs milliseconds, not the half a minute of the old digest.
TEST(PasswordHashTest, ALongPasswordCostsAboutOnePassOverIt) {
  const PasswordHash hash = HashPassword("secret");
  const std::string long_password(1 << 20, 'x');
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(PasswordMatches(hash, long_password));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(PasswordHashTest, ACheckAnswersForTheHashItWasMadeAgainst) {
  const PasswordHash secret = HashPassword("secret"), other = HashPassword("other");
  PasswordCheck check("secret");
  EXPECT_TRUE(check.Matches(secret));
  EXPECT_FALSE(check.Matches(other));
  EXPECT_TRUE(check.Matches(secret));
  EXPECT_TRUE(check.Matches(OldFormOfSecret()));
}

// A login with the right password replaces a digest of the old form; a
// failed one leaves it.
TEST(PasswordHashTest, ALoginUpgradesTheOldForm) {
  World world;
  world.account.emplace();
  world.account->email = "user@example.com";
  world.account->password = OldFormOfSecret();
  PasswordCheck wrong("Secret");
  EXPECT_EQ("wrong_credentials", LoginComputer(&world, "user@example.com", &wrong));
  EXPECT_EQ(OldFormOfSecret(), world.account->password);

  PasswordCheck right("secret");
  ASSERT_EQ("OK", LoginComputer(&world, "user@example.com", &right));
  EXPECT_TRUE(IsCurrentForm(world.account->password));
  EXPECT_TRUE(PasswordMatches(world.account->password, "secret"));
}

// A derivation that cannot be made says nothing of the password: it neither
// matches nor differs, and no hash is made that would lock the account out.
// The old form needs no derivation.
TEST(PasswordHashTest, AFailedDerivationLeavesThePasswordUnchecked) {
  const PasswordHash current = HashPassword("secret");
  const PasswordHash pending = HashWhenNeeded("secret");
  PasswordCheck check("secret");
  {
    FailingKeyDerivationsForTesting failing;
    EXPECT_EQ(PasswordVerdict::kNotChecked, CheckPassword(current, "secret"));
    EXPECT_EQ(PasswordVerdict::kNotChecked, CheckPassword(current, "wrong"));
    EXPECT_EQ(PasswordVerdict::kNotChecked, check.Check(current));
    EXPECT_EQ(PasswordVerdict::kMatches, CheckPassword(OldFormOfSecret(), "secret"));
    EXPECT_TRUE(HashPassword("secret").digest.empty());
    EXPECT_FALSE(CanBeSaved(pending));
    EXPECT_EQ(PasswordVerdict::kNotChecked, CheckPassword(pending, "secret"));
  }
  EXPECT_EQ(PasswordVerdict::kMatches, check.Check(current));
  EXPECT_TRUE(CanBeSaved(HashWhenNeeded("secret")));
  EXPECT_TRUE(CanBeSaved(current));
}

// A login whose check cannot be made is refused as such and changes
// nothing; one that matches the old form keeps it when the current one
// cannot be made.
TEST(PasswordHashTest, ALoginWithoutDerivationsChangesNothing) {
  World world;
  world.account.emplace();
  world.account->email = "user@example.com";
  world.account->password = HashPassword("secret");
  const PasswordHash current = world.account->password;
  FailingKeyDerivationsForTesting failing;
  PasswordCheck check("secret");
  EXPECT_EQ("password_not_checked", LoginComputer(&world, "user@example.com", &check));
  EXPECT_FALSE(world.account->logged_in);
  EXPECT_EQ(current, world.account->password);

  world.account->password = OldFormOfSecret();
  ASSERT_EQ("OK", LoginComputer(&world, "user@example.com", &check));
  EXPECT_EQ(OldFormOfSecret(), world.account->password);
}

}  // namespace
}  // namespace standin
