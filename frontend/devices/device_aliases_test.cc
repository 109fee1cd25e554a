#include "frontend/devices/device_aliases.h"

#include <gtest/gtest.h>

namespace {

// Real ids chosen for the leading digits of their digests.
const char kDigest59f0[] = "usb-a-269144";
const char kDigest66c1[] = "usb-b-76020";
const char kDigest59a2[] = "usb-c-91342";
const char kDigestAd07[] = "usb-d-51344";
const char kDigest5a1[] = "com-a-1774";       // 5a11...
const char kDigest5a2[] = "com-b-2932";       // 5a28...
const char kDigest5a3[] = "com-c-835";        // 5a31...
const char kDigest5b[] = "com-d-157";         // 5b09...
const char kDigestC4ca[] = "1";               // c4ca...
const char kDigestStartsWithItself[] = "92";  // 92cc...

DeviceAliasMap AliasesOf(const std::vector<std::string>& ids) {
  DeviceHashMap hashes;
  HashDeviceIds(ids, &hashes);
  DeviceAliasMap aliases;
  MakeDeviceAliases(hashes, &aliases);
  return aliases;
}

}  // namespace

TEST(DeviceAliasesTest, LengthGrowsByTheRepeatsOfAPass) {
  // One repeat at length 2 (59, 66, 59, ad): every alias gets 3 digits.
  EXPECT_EQ(
      (DeviceAliasMap{
          {kDigest59f0, "59f"}, {kDigest66c1, "66c"}, {kDigest59a2, "59a"}, {kDigestAd07, "ad0"}}),
      AliasesOf({kDigest59f0, kDigest66c1, kDigest59a2, kDigestAd07}));
  // Two repeats at length 2 (5a three times): the next pass uses 4, not 3.
  EXPECT_EQ(
      (DeviceAliasMap{
          {kDigest5a1, "5a11"}, {kDigest5a2, "5a28"}, {kDigest5a3, "5a31"}, {kDigest5b, "5b09"}}),
      AliasesOf({kDigest5a1, kDigest5a2, kDigest5a3, kDigest5b}));
}

TEST(DeviceAliasesTest, OneDeviceAndNone) {
  EXPECT_EQ((DeviceAliasMap{{kDigestC4ca, "c4"}}), AliasesOf({kDigestC4ca}));

  DeviceAliasMap untouched{{"kept", "xy"}};
  MakeDeviceAliases(DeviceHashMap(), &untouched);
  EXPECT_EQ((DeviceAliasMap{{"kept", "xy"}}), untouched);
}

TEST(DeviceAliasesTest, EqualDigestsEndAtTheLongestLength) {
  DeviceHashMap hashes{{"a", "0123456789abcdef0123456789abcdef"},
                       {"b", "0123456789abcdef0123456789abcdef"},
                       {"c", "fedcba9876543210fedcba9876543210"}};
  DeviceAliasMap aliases;
  MakeDeviceAliases(hashes, &aliases);
  EXPECT_EQ((DeviceAliasMap{{"a", "0123456789abcdef0123456789abcdef"},
                            {"b", "0123456789abcdef0123456789abcdef"},
                            {"c", "fedcba9876543210fedcba9876543210"}}),
            aliases);
}

TEST(DeviceAliasesTest, RepeatedIdsGiveOneEntry) {
  DeviceHashMap hashes;
  HashDeviceIds({kDigest59f0, kDigest59f0}, &hashes);
  EXPECT_EQ(1u, hashes.size());
  EXPECT_EQ((DeviceAliasMap{{kDigest59f0, "59"}}), AliasesOf({kDigest59f0, kDigest59f0}));
}

TEST(DeviceAliasesTest, FindDevicesByRealIdOrDigestPrefix) {
  DeviceHashMap hashes;
  HashDeviceIds({kDigest59f0, kDigest66c1, kDigest59a2, kDigestAd07, kDigestC4ca, "c4",
                 kDigestStartsWithItself},
                &hashes);
  typedef std::vector<std::string> Ids;
  const struct {
    const char* idx;
    Ids found;
  } kCases[] = {
      {"usb-b-76020", {kDigest66c1}},                       // real id
      {"59f", {kDigest59f0}},                               // the printed alias
      {"59f00347acd11e61fb2bfd4cf9d8f293", {kDigest59f0}},  // the whole digest
      {"6", {kDigest66c1}},                                 // one digit
      {"59", {kDigest59f0, kDigest59a2}},                   // shorter than the alias
      {"59F", {}},                                          // digests are lowercase
      {"59f00347acd11e61fb2bfd4cf9d8f2930", {}},            // longer than a digest
      {"77", {}},
      {"c4", {kDigestC4ca, "c4"}},        // one's digest, the other's real id
      {"92", {kDigestStartsWithItself}},  // real id and own digest: once
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.found, FindDevices(hashes, c.idx)) << c.idx;
}
