#include "contracts/Numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testing/ErrorNumberOf.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

using vx::testing::ErrorNumberOf;

TEST(RoundToInt32, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(vx::RoundToInt32(0.5), 0);
  EXPECT_EQ(vx::RoundToInt32(1.5), 2);
  EXPECT_EQ(vx::RoundToInt32(2.5), 2);
  EXPECT_EQ(vx::RoundToInt32(-0.5), 0);
  EXPECT_EQ(vx::RoundToInt32(-1.5), -2);
  EXPECT_EQ(vx::RoundToInt32(-2.5), -2);
  EXPECT_EQ(vx::RoundToInt32(2.4999999999999996), 2);
  EXPECT_EQ(vx::RoundToInt32(2.5000000000000004), 3);
  EXPECT_EQ(vx::RoundToInt32(-7.6), -8);
  // The default fill levels are floats slightly above their decimals.
  EXPECT_EQ(vx::RoundToInt32(static_cast<double>(0.2f) * 101), 20);
  EXPECT_EQ(vx::RoundToInt32(static_cast<double>(0.8f) * 101), 81);
  EXPECT_EQ(vx::RoundToInt32(static_cast<double>(0.5f) * 11), 6);
}

TEST(RoundToInt32, TheEdgesOfTheRangeAndBeyondThem) {
  EXPECT_EQ(vx::RoundToInt32(2147483647.0), kMax);
  EXPECT_EQ(vx::RoundToInt32(2147483647.4), kMax);
  EXPECT_EQ(vx::RoundToInt32(-2147483648.0), kMin);
  EXPECT_EQ(vx::RoundToInt32(-2147483648.5), kMin);  // the even neighbour is still in range
  EXPECT_EQ(ErrorNumberOf([] { vx::RoundToInt32(2147483647.5); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::RoundToInt32(-2147483649.0); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::RoundToInt32(1e300); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::RoundToInt32(std::nan("")); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::RoundToInt32(-HUGE_VAL); }), vx::kErrOverflow);
}

TEST(ToSingle, RoundsToTheNearestFloatAndRefusesFiniteOverflow) {
  EXPECT_EQ(vx::ToSingle(0.2), 0.2f);
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24), 1.0f);  // tie: even mantissa
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24 + 0x1p-40), 1.0f + 0x1p-23f);
  const double floatMax = std::numeric_limits<float>::max();
  EXPECT_EQ(vx::ToSingle(floatMax), std::numeric_limits<float>::max());
  EXPECT_EQ(vx::ToSingle(-floatMax), -std::numeric_limits<float>::max());
  EXPECT_EQ(vx::ToSingle(0x1.fffffefffffffp+127), std::numeric_limits<float>::max());
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(0x1.ffffffp+127); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(-1e39); }), vx::kErrOverflow);
  EXPECT_TRUE(std::isinf(vx::ToSingle(HUGE_VAL)));
  EXPECT_TRUE(std::isnan(vx::ToSingle(std::nan(""))));
  EXPECT_EQ(vx::ToSingle(1e-50), 0.0f);  // underflow is not an error
}

TEST(CheckedAdd, OverflowIsErrorSixInBothDirections) {
  EXPECT_EQ(vx::CheckedAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(vx::CheckedAdd(kMin + 1, -1), kMin);
  EXPECT_EQ(vx::CheckedAdd(kMax, kMin), -1);
  EXPECT_EQ(ErrorNumberOf([] { vx::CheckedAdd(kMax, 1); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::CheckedAdd(kMin, -1); }), vx::kErrOverflow);
}

TEST(CheckedAdd, TheErrorNamesTheCallersLine) {
  const uint32_t line = __LINE__ + 2;
  try {
    vx::CheckedAdd(kMax, kMax);
    FAIL() << "no error";
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.line(), line);
    EXPECT_EQ(e.description(), u"Overflow");
    EXPECT_EQ(e.source(), u"vxTM2Main");
  }
}

}  // namespace
