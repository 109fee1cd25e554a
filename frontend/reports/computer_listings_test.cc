#include "frontend/reports/computer_listings.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowComputers, UnknownKindIsRefusedWithoutAsking) {
  testing::internal::CaptureStdout();
  int result = ShowComputers("others", true, false, true, true, true);
  EXPECT_EQ("ERROR: wrong filter value.\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(1, result);
}

}  // namespace
