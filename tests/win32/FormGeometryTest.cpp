// A form's bounds, state and client size in toolkit twips, and the screen's twips per pixel.
#include <gtest/gtest.h>

#include "testing/ErrorNumberOf.h"
#include "toolkit/Screen.h"
#include "win32/ToolkitTestSupport.h"

namespace {

class FormGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Load();
    tppX = vx::toolkit::TwipsPerPixelX();
    tppY = vx::toolkit::TwipsPerPixelY();
  }
  void TearDown() override {
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  RECT WindowRect() const {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return r;
  }
  vx::test::RecordingForm form;
  float tppX = 0, tppY = 0;
};

TEST(Screen, TwipsPerPixelOfTheTestDisplayAt96Dpi) {
  EXPECT_EQ(vx::toolkit::TwipsPerPixelX(), 15.0F);
  EXPECT_EQ(vx::toolkit::TwipsPerPixelY(), 15.0F);
}

TEST_F(FormGeometry, BoundsAreOuterPixelsTimesTwipsPerPixel) {
  form.SetLeft(100 * tppX);
  form.SetTop(50 * tppY);
  form.SetWidth(640 * tppX);
  form.SetHeight(480 * tppY);
  const RECT r = WindowRect();
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(form.Left(), 100 * tppX);
  EXPECT_EQ(form.Top(), 50 * tppY);
  EXPECT_EQ(form.Width(), 640 * tppX);
  EXPECT_EQ(form.Height(), 480 * tppY);
}

TEST_F(FormGeometry, TwipsAreRoundedToTheNearestPixel) {
  form.SetWidth(640 * tppX + tppX * 0.6f);
  EXPECT_EQ(form.Width(), 641 * tppX);
  form.SetWidth(640 * tppX + tppX * 0.4f);
  EXPECT_EQ(form.Width(), 640 * tppX);
}

TEST_F(FormGeometry, NegativePositionsAreAllowedNegativeSizesAndOverflowAreNot) {
  form.SetLeft(-20 * tppX);
  EXPECT_EQ(form.Left(), -20 * tppX);
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.SetWidth(-tppX); }).number, vx::kErrInvalidCall);
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.SetLeft(3.0e38f); }).number, vx::kErrOverflow);
}

TEST_F(FormGeometry, ClientSizeIsTheClientRectangleInTwips) {
  form.SetWidth(640 * tppX);
  form.SetHeight(480 * tppY);
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(form.ScaleWidth(), client.right * tppX);
  EXPECT_EQ(form.ScaleHeight(), client.bottom * tppY);
  EXPECT_LT(form.ScaleHeight(), form.Height());
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
  form.SetLeft(30 * tppX);
  form.SetTop(40 * tppY);
  form.SetWidth(600 * tppX);
  form.SetHeight(400 * tppY);
  form.Show();
  form.SetWindowState(2);
  ASSERT_EQ(form.WindowState(), 2);
  EXPECT_EQ(form.Left(), 30 * tppX);
  EXPECT_EQ(form.Width(), 600 * tppX);
  EXPECT_GT(form.ScaleWidth(), 600 * tppX);

  form.SetWidth(700 * tppX);
  EXPECT_EQ(form.WindowState(), 2);
  EXPECT_EQ(form.Width(), 700 * tppX);

  form.SetWindowState(1);
  ASSERT_EQ(form.WindowState(), 1);
  EXPECT_EQ(form.Width(), 700 * tppX);
  EXPECT_EQ(form.Top(), 40 * tppY);
  form.SetHeight(450 * tppY);

  form.SetWindowState(0);
  ASSERT_EQ(form.WindowState(), 0);
  const RECT r = WindowRect();
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 450);
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
