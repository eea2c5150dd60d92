// The straight-line exponential against the C library's.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "exponential_kernel.h"

namespace {

using swcore::exponentialKernel;
using swcore::kKernelArgumentLimit;

TEST(ExponentialKernel, AgreesWithTheLibraryToAboutOneUnitInTheLastPlace) {
  double worst = 0.0;
  for (double x = -kKernelArgumentLimit; x <= kKernelArgumentLimit; x += 0.0123456789) {
    const double expected = std::exp(x);
    worst = std::max(worst, std::abs(exponentialKernel(x) - expected) / expected);
  }
  EXPECT_LT(worst, 2.5 * std::numeric_limits<double>::epsilon());
}

TEST(ExponentialKernel, HoldsAtTheEdgesOfItsRangeReduction) {
  EXPECT_EQ(exponentialKernel(0.0), 1.0);
  EXPECT_EQ(exponentialKernel(-0.0), 1.0);
  // Arguments near (n + 1/2) ln 2, where the rounding of n changes, and near
  // n ln 2, where the reduced argument is smallest.
  for (int n : {-1000, -37, -1, 1, 52, 1000}) {
    for (double offset : {-0.5, -1e-9, 0.0, 1e-9, 0.5}) {
      const double x = (n + offset) * 0.6931471805599453;
      const double expected = std::exp(x);
      EXPECT_NEAR(exponentialKernel(x) / expected, 1.0,
                  2.5 * std::numeric_limits<double>::epsilon())
          << n << " " << offset;
    }
  }
}

TEST(ExponentialKernel, CoversTheWholeRangeWithoutOverflowOrSubnormals) {
  const double low = exponentialKernel(-kKernelArgumentLimit);
  const double high = exponentialKernel(kKernelArgumentLimit);
  EXPECT_TRUE(std::isnormal(low));
  EXPECT_TRUE(std::isnormal(high));
  EXPECT_NEAR(low / std::exp(-kKernelArgumentLimit), 1.0, 1e-15);
  EXPECT_NEAR(high / std::exp(kKernelArgumentLimit), 1.0, 1e-15);
}

}  // namespace
