#include "layout/TwipsArithmetic.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <tuple>

#include "contracts/GeometryText.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorNumberOf;

TEST(TwipsPerPixel, DeviceExactlyToolkitWholeAndAZeroReading) {
  // At 168 dpi: 1440/168 rounded once to single precision, not computed in single precision.
  using Row = std::tuple<int, float, float>;
  for (const auto& [dpi, device, toolkit] :
       {Row{96, 15.0F, 15.0F}, Row{120, 12.0F, 12.0F}, Row{144, 10.0F, 10.0F}, Row{192, 7.5F, 7.0F},
        Row{168, 8.5714283F, 8.0F}, Row{2880, 0.5F, 1.0F}}) {
    EXPECT_EQ(modGdi::DeviceTwipsPerPixel(dpi), device) << dpi;
    EXPECT_EQ(vx::ToolkitTwipsPerPixel(dpi), toolkit) << dpi;
  }
  EXPECT_EQ(ErrorNumberOf([] { modGdi::DeviceTwipsPerPixel(0); }), vx::kErrDivisionByZero);
  EXPECT_EQ(vx::ToolkitTwipsPerPixel(0), 15.0F);
}

TEST(ScaleTwips, ConvertsInDoublePrecisionAndFailsLikeTheArithmetic) {
  for (float v : {0.0F, 975.0F, -120.5F, 123456.78F})
    EXPECT_EQ(modGdi::ScaleTwips(8.571428F, v, 8.571428F), v);
  const float device = modGdi::DeviceTwipsPerPixel(168);
  EXPECT_NEAR(modGdi::ScaleTwips(device, 800.0F, 8.0F), 857.142857F, 0.001F);
  // In single precision FLT_MAX * 2 would overflow before the division brings it back.
  EXPECT_EQ(modGdi::ScaleTwips(2.0F, FLT_MAX, 4.0F), FLT_MAX / 2.0F);
  EXPECT_EQ(ErrorNumberOf([] { modGdi::ScaleTwips(15.0F, 100.0F, 0.0F); }), vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorNumberOf([] { modGdi::ScaleTwips(15.0F, FLT_MAX, 1.0F); }), vx::kErrOverflow);
}

}  // namespace
