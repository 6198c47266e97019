#include "layout/TwipsArithmetic.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorNumberOf;

TEST(DeviceTwipsPerPixel, TypicalDisplays) {
  EXPECT_EQ(modGdi::DeviceTwipsPerPixel(96), 15.0F);
  EXPECT_EQ(modGdi::DeviceTwipsPerPixel(120), 12.0F);
  EXPECT_EQ(modGdi::DeviceTwipsPerPixel(144), 10.0F);
  EXPECT_EQ(modGdi::DeviceTwipsPerPixel(192), 7.5F);
  // 1440/168 rounded once to single precision, not computed in single precision.
  EXPECT_EQ(modGdi::DeviceTwipsPerPixel(168), static_cast<float>(1440.0 / 168.0));
  EXPECT_NEAR(modGdi::DeviceTwipsPerPixel(168), 8.571428F, 1e-6F);
}

TEST(DeviceTwipsPerPixel, ZeroReadingIsDivisionByZero) {
  EXPECT_EQ(ErrorNumberOf([] { modGdi::DeviceTwipsPerPixel(0); }), vx::kErrDivisionByZero);
}

TEST(ScaleTwips, EqualFiguresAreTheIdentity) {
  for (float v : {0.0F, 975.0F, -120.5F, 9780.0F, 123456.78F}) {
    EXPECT_EQ(modGdi::ScaleTwips(15.0F, v, 15.0F), v);
    EXPECT_EQ(modGdi::ScaleTwips(8.571428F, v, 8.571428F), v);
  }
}

TEST(ScaleTwips, DeviceAndToolkitFiguresDiffer) {
  const float device = modGdi::DeviceTwipsPerPixel(168);
  EXPECT_NEAR(modGdi::ScaleTwips(device, 800.0F, 8.0F), 857.142857F, 0.001F);
  // And back: the round trip of a value lands on it within single precision.
  const float there = modGdi::ScaleTwips(device, 7710.0F, 8.0F);
  EXPECT_NEAR(modGdi::ScaleTwips(8.0F, there, device), 7710.0F, 0.001F);
}

TEST(ScaleTwips, ComputesInDoublePrecision) {
  // In single precision FLT_MAX * 2 would overflow before the division brings it back.
  EXPECT_EQ(modGdi::ScaleTwips(2.0F, FLT_MAX, 4.0F), FLT_MAX / 2.0F);
}

TEST(ScaleTwips, FailuresOfTheArithmetic) {
  EXPECT_EQ(ErrorNumberOf([] { modGdi::ScaleTwips(15.0F, 100.0F, 0.0F); }), vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorNumberOf([] { modGdi::ScaleTwips(15.0F, FLT_MAX, 1.0F); }), vx::kErrOverflow);
}

TEST(CachedFigure, ComputedOnceWhileAtLeastOne) {
  float cache = 0.0F;
  int reads = 0;
  auto read = [&] {
    ++reads;
    return 15.0F;
  };
  EXPECT_EQ(modGdi::CachedFigure(cache, read), 15.0F);
  EXPECT_EQ(modGdi::CachedFigure(cache, read), 15.0F);
  EXPECT_EQ(reads, 1);
}

TEST(CachedFigure, FigureBelowOneIsReadAgain) {
  float cache = 0.0F;
  int reads = 0;
  auto read = [&] {
    ++reads;
    return 0.5F;
  };
  modGdi::CachedFigure(cache, read);
  modGdi::CachedFigure(cache, read);
  EXPECT_EQ(reads, 2);
}

}  // namespace
