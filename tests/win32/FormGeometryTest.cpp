// A form's bounds, state and client size in toolkit twips, and the screen's twips per pixel.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "testing/ErrorNumberOf.h"
#include "toolkit/Screen.h"
#include "win32/ToolkitTestSupport.h"

namespace {

// The test display has 96 dpi: 15 twips to a pixel.
constexpr float kTwips = 15.0F;
using Bounds = std::array<long, 4>;  // left, top, width, height

class FormGeometry : public ::testing::Test {
 protected:
  void SetUp() override { form.Load(); }
  void TearDown() override {
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  void PlaceInPixels(const Bounds& pixels) {
    form.SetLeft(static_cast<float>(pixels[0]) * kTwips);
    form.SetTop(static_cast<float>(pixels[1]) * kTwips);
    form.SetWidth(static_cast<float>(pixels[2]) * kTwips);
    form.SetHeight(static_cast<float>(pixels[3]) * kTwips);
  }
  Bounds Pixels() const {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  Bounds Twips() const {
    return {std::lround(form.Left()), std::lround(form.Top()), std::lround(form.Width()),
            std::lround(form.Height())};
  }
  vx::test::RecordingForm form;
};

TEST_F(FormGeometry, BoundsAreOuterPixelsTimesTwipsPerPixelAndTheClientSizeIsTheClientRectangle) {
  EXPECT_EQ(vx::toolkit::TwipsPerPixelX(), kTwips);
  EXPECT_EQ(vx::toolkit::TwipsPerPixelY(), kTwips);
  PlaceInPixels({100, 50, 640, 480});
  EXPECT_EQ(Pixels(), (Bounds{100, 50, 640, 480}));
  EXPECT_EQ(Twips(), (Bounds{1500, 750, 9600, 7200}));
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(form.ScaleWidth(), client.right * kTwips);
  EXPECT_EQ(form.ScaleHeight(), client.bottom * kTwips);
  EXPECT_LT(form.ScaleHeight(), form.Height());
}

TEST_F(FormGeometry, TwipsRoundToTheNearestPixelNegativePositionsAreAllowedSizesAndOverflowNot) {
  form.SetWidth(640 * kTwips + 9);
  EXPECT_EQ(form.Width(), 641 * kTwips);
  form.SetWidth(640 * kTwips + 6);
  EXPECT_EQ(form.Width(), 640 * kTwips);
  form.SetLeft(-20 * kTwips);
  EXPECT_EQ(form.Left(), -20 * kTwips);
  EXPECT_EQ(vx::testing::ErrorNumberOf([&] { form.SetWidth(-kTwips); }), vx::kErrInvalidCall);
  EXPECT_EQ(vx::testing::ErrorNumberOf([&] { form.SetLeft(3.0e38f); }), vx::kErrOverflow);
}

TEST_F(FormGeometry, StateSetWhileHiddenIsTakenWhenShown) {
  form.SetWindowState(2);
  EXPECT_EQ(form.WindowState(), 2);
  EXPECT_FALSE(IsZoomed(form.Handle()));
  form.Show();
  EXPECT_TRUE(IsZoomed(form.Handle()));
  EXPECT_EQ(form.WindowState(), 2);
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.SetWindowState(3); }).number, vx::kErrInvalidCall);
}

TEST_F(FormGeometry, MaximisedAndMinimisedWindowsReadAndWriteTheirNormalBounds) {
  PlaceInPixels({30, 40, 600, 400});
  form.Show();
  form.SetWindowState(2);
  ASSERT_EQ(form.WindowState(), 2);
  EXPECT_EQ(form.Left(), 30 * kTwips);
  EXPECT_EQ(form.Width(), 600 * kTwips);
  EXPECT_GT(form.ScaleWidth(), 600 * kTwips);

  form.SetWidth(700 * kTwips);
  EXPECT_EQ(form.WindowState(), 2);
  EXPECT_EQ(form.Width(), 700 * kTwips);

  form.SetWindowState(1);
  ASSERT_EQ(form.WindowState(), 1);
  EXPECT_EQ(form.Width(), 700 * kTwips);
  EXPECT_EQ(form.Top(), 40 * kTwips);
  form.SetHeight(450 * kTwips);

  form.SetWindowState(0);
  ASSERT_EQ(form.WindowState(), 0);
  EXPECT_EQ(Pixels(), (Bounds{30, 40, 700, 450}));
}

TEST_F(FormGeometry, VisibilityEnabledStateAndDeviceContext) {
  EXPECT_FALSE(form.Visible());
  form.SetVisible(true);
  EXPECT_TRUE(form.Visible());
  form.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  form.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form.Handle()));
  EXPECT_FALSE(form.Enabled());
  form.SetEnabled(true);
  EXPECT_TRUE(form.Enabled());
  {
    vx::toolkit::DeviceContext dc = form.GetDeviceContext();
    ASSERT_NE(dc.get(), nullptr);
    EXPECT_GT(GetDeviceCaps(dc.get(), LOGPIXELSX), 0);
  }
  EXPECT_EQ(vx::toolkit::Form::InstanceHandle(), GetModuleHandleW(nullptr));
}

}  // namespace
