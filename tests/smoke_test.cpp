#include <gtest/gtest.h>
#include "platform/crt_rand.h"

TEST(CrtRand, KnownSequenceForSeedOne) {
  CrtSrand(1);
  EXPECT_EQ(CrtRand(), 41);
  EXPECT_EQ(CrtRand(), 18467);
  EXPECT_EQ(CrtRand(), 6334);
}
