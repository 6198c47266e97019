// Load, activation, resize and key events of a form, and errors escaping its handlers.
#include <gtest/gtest.h>

#include <algorithm>

#include "testing/ErrorNumberOf.h"
#include "testing/MessageBoxReader.h"
#include "toolkit/MessageBox.h"
#include "toolkit/MessageLoop.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using vx::test::RecordingForm;

class FormEvents : public ::testing::Test {
 protected:
  void TearDown() override {
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  size_t IndexOf(const std::string& event) const {
    return static_cast<size_t>(std::find(form.events.begin(), form.events.end(), event) -
                               form.events.begin());
  }
  RecordingForm form;
};

TEST_F(FormEvents, LoadRunsOnceBeforeTheWindowIsShown) {
  form.Load();
  form.Load();
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Load"), 1);
  ASSERT_TRUE(form.IsLoaded());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_FALSE(form.Visible());
}

TEST_F(FormEvents, FirstShowRaisesLoadThenResizeThenActivate) {
  form.Load();
  form.Show();
  vx::test::PumpMessages();
  ASSERT_LT(IndexOf("Activate"), form.events.size());
  EXPECT_EQ(form.events.front(), "Load");
  EXPECT_LT(IndexOf("Resize"), IndexOf("Activate"));
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
}

TEST_F(FormEvents, EveryActivationIsAnEvent) {
  form.Load();
  form.Show();
  vx::test::PumpMessages();
  RecordingForm other;
  other.Load();
  other.Show();
  vx::test::PumpMessages();
  const auto before = std::count(form.events.begin(), form.events.end(), "Activate");
  SetForegroundWindow(form.Handle());
  SetActiveWindow(form.Handle());
  vx::test::PumpMessages();
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Activate"), before + 1);
  other.Unload();
}

TEST_F(FormEvents, EveryClientSizeChangeIsOneResize) {
  form.Load();
  form.Show();
  vx::test::PumpMessages();
  form.events.clear();
  form.SetWidth(form.Width() + 300);
  EXPECT_EQ(form.events, std::vector<std::string>{"Resize"});
  form.events.clear();
  form.SetLeft(form.Left() + 150);  // A move is no resize.
  form.Refresh();
  EXPECT_TRUE(form.events.empty());
  form.SetWindowState(2);
  vx::test::PumpMessages();
  EXPECT_EQ(form.events, std::vector<std::string>{"Resize"});
}

TEST_F(FormEvents, TheFormGetsItsOwnKeysAndWithPreviewAChildsKeysFirst) {
  form.Load();
  SendMessageW(form.Handle(), WM_KEYDOWN, VK_F1, 0);
  EXPECT_EQ(form.events.back(), "KeyDown 112 0");
  form.events.clear();
  HWND child = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, form.Handle(),
                               nullptr, nullptr, nullptr);
  ASSERT_TRUE(child);
  PostMessageW(child, WM_KEYDOWN, VK_F1, 0);
  vx::test::PumpMessages();
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "KeyDown 112 0"), 0);

  form.SetKeyPreview(true);
  PostMessageW(child, WM_KEYDOWN, VK_F1, 0);
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(vx::toolkit::RunMessageLoop(), 0);
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "KeyDown 112 0"), 1);
}

TEST_F(FormEvents, AnErrorInAHandlerIsShownAndTheFormGoesOn) {
  form.SetCaption(u"Recording form");
  form.failActivate = true;
  form.Load();
  vx::testing::MessageBoxReader reader(u"Recording form");
  form.Show();
  EXPECT_EQ(reader.Wait(), std::vector<std::u16string>{
                               u"Error 5: Activation failed\r\n\r\nSource: Recording.Activate"});
  EXPECT_TRUE(IsWindow(form.Handle()));
  // Closing the box reactivated the form without raising the failing event once more.
  vx::test::PumpMessages();
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Activate"), 1);
  EXPECT_EQ(vx::testing::FindMessageBox(u"Recording form"), nullptr);
  form.failActivate = false;
}

TEST_F(FormEvents, AnErrorBoxOfAFormWithoutCaptionIsCaptionedWithTheProgramName) {
  form.failActivate = true;
  form.Load();
  vx::testing::MessageBoxReader reader(u"vxTM2Main");
  form.Show();
  EXPECT_EQ(reader.Wait().size(), 1u);
  form.failActivate = false;
}

TEST(MessageBox, ShowsTextAndCaptionAndReturnsTheButton) {
  vx::testing::MessageBoxReader reader(u"Box caption");
  EXPECT_EQ(vx::toolkit::ShowMessageBox(nullptr, u"First line\r\nsecond line", u"Box caption",
                                        MB_ICONSTOP | MB_OK),
            IDOK);
  EXPECT_EQ(reader.Wait(), std::vector<std::u16string>{u"First line\r\nsecond line"});
}

TEST(FormBeforeLoad, PropertiesThatNeedTheWindowRaise91) {
  RecordingForm form;
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.Width(); }).number, vx::kErrObjectNotSet);
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.SetWindowState(2); }).number, vx::kErrObjectNotSet);
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.GetDeviceContext(); }).number, vx::kErrObjectNotSet);
  form.SetCaption(u"Before load");
  form.Load();
  EXPECT_EQ(form.Caption(), u"Before load");
  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.Caption(), u"Before load");
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.ScaleWidth(); }).number, vx::kErrObjectNotSet);
  vx::test::TakeQuitMessage();
}

}  // namespace
