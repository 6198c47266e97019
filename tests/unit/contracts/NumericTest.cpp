#include "contracts/Numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testing/ErrorNumberOf.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

using vx::testing::ErrorNumberOf;

TEST(RoundToInt32, HalvesGoToTheEvenNeighbourAndTheRangeIsExact) {
  const std::pair<double, int32_t> cases[] = {{0.5, 0},
                                              {1.5, 2},
                                              {2.5, 2},
                                              {-0.5, 0},
                                              {-1.5, -2},
                                              {-2.5, -2},
                                              {2.4999999999999996, 2},
                                              {2.5000000000000004, 3},
                                              {-7.6, -8},
                                              {static_cast<double>(0.8f) * 101, 81},
                                              {2147483647.4, kMax},
                                              {-2147483648.5, kMin}};
  for (const auto& [in, out] : cases) EXPECT_EQ(vx::RoundToInt32(in), out) << in;
  for (double beyond : {2147483647.5, -2147483649.0, 1e300, std::nan(""), -HUGE_VAL}) {
    EXPECT_EQ(ErrorNumberOf([=] { vx::RoundToInt32(beyond); }), vx::kErrOverflow) << beyond;
  }
}

TEST(ToSingle, RoundsToTheNearestFloatAndRefusesFiniteOverflow) {
  constexpr float kFloatMax = std::numeric_limits<float>::max();
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24), 1.0f);  // tie: even mantissa
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24 + 0x1p-40), 1.0f + 0x1p-23f);
  EXPECT_EQ(vx::ToSingle(-double{kFloatMax}), -kFloatMax);
  EXPECT_EQ(vx::ToSingle(0x1.fffffefffffffp+127), kFloatMax);
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(0x1.ffffffp+127); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(-1e39); }), vx::kErrOverflow);
  EXPECT_TRUE(std::isinf(vx::ToSingle(HUGE_VAL)));
  EXPECT_TRUE(std::isnan(vx::ToSingle(std::nan(""))));
  EXPECT_EQ(vx::ToSingle(1e-50), 0.0f);  // underflow is not an error
}

TEST(CheckedAdd, OverflowIsErrorSixInBothDirectionsOnTheCallersLine) {
  EXPECT_EQ(vx::CheckedAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(vx::CheckedAdd(kMin + 1, -1), kMin);
  EXPECT_EQ(vx::CheckedAdd(kMax, kMin), -1);
  EXPECT_EQ(ErrorNumberOf([] { vx::CheckedAdd(kMin, -1); }), vx::kErrOverflow);
  uint32_t line = 0;
  const uint32_t callLine = __LINE__ + 1;
  EXPECT_EQ(vx::testing::ErrorOf([] { vx::CheckedAdd(kMax, 1); }, &line),
            (vx::ErrorInfo{6, u"vxTM2Main", u"Overflow"}));
  EXPECT_EQ(line, callLine);
}

}  // namespace
