// Adding and removing controls of component libraries in a form.
#include <gtest/gtest.h>

#include <array>

#include "contracts/CallByName.h"
#include "testing/ErrorNumberOf.h"
#include "toolkit/ComponentRuntime.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using vx::testing::ErrorOf;

class Container : public ::testing::Test {
 protected:
  void SetUp() override {
    liveBefore = vx::toolkit::LiveObjects();
    form.Load();
  }
  void TearDown() override {
    form.Unload();
    vx::test::TakeQuitMessage();
    EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore);
  }
  vx::toolkit::ControlContainer& controls() { return form.Controls(); }
  // The container and the form hold nothing of a failed Add.
  void ExpectNothingAdded() {
    EXPECT_EQ(controls().Count(), 0u);
    EXPECT_TRUE(vx::test::ChildWindows(form.Handle()).empty());
    EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore);
  }

  vx::test::RecordingForm form;
  int32_t liveBefore = 0;
};

TEST_F(Container, AddedControlIsAnInvisibleChildWithItsOwnObject) {
  auto control = controls().Add(u"vxFixture.Control", u"myEmbeddedControl");
  ASSERT_TRUE(control);
  EXPECT_EQ(controls().Count(), 1u);
  EXPECT_EQ(GetParent(control->Handle()), form.Handle());
  EXPECT_FALSE(control->Visible());
  EXPECT_EQ(control->ProgId(), u"vxFixture.Control");
  EXPECT_EQ(control->Name(), u"myEmbeddedControl");
  vx::CallByName(control->Object(), u"Terminate");
  EXPECT_EQ(vx::CallByName(control->Object(), u"Terminated").As<int32_t>(), 1);
  EXPECT_EQ(controls().Find(u"MYEMBEDDEDCONTROL"), control);
  EXPECT_EQ(controls().Find(u"other"), nullptr);
  control->SetVisible(true);
  EXPECT_TRUE(control->Visible());
}

TEST_F(Container, PlacementIsInTwipsRelativeToTheClientArea) {
  form.SetLeft(3000);
  auto control = controls().Add(u"vxFixture.Control", u"placed");
  control->SetLeft(150);
  control->SetTop(300);
  control->SetWidth(4500);
  control->SetHeight(315);
  RECT r{};
  GetWindowRect(control->Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
  // 15 twips to a pixel on the test display.
  EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::array<LONG, 4>{10, 20, 300, 21}));
  EXPECT_EQ((std::array{control->Left(), control->Top(), control->Width(), control->Height()}),
            (std::array{150.0F, 300.0F, 4500.0F, 315.0F}));
  control->SetTop(-75);
  EXPECT_EQ(control->Top(), -75);
  EXPECT_EQ(control->Height(), 315);
}

TEST_F(Container, ClassesThatAreMissingOrNoWorkingControlLeaveNothing) {
  const std::pair<std::u16string_view, vx::ErrorInfo> cases[] = {
      {u"vxFixture.Plain",
       {vx::kErrTypeMismatch, u"vxTM2Main", u"The class 'vxFixture.Plain' is not a control"}},
      {u"vxFixture.FailingWindow", {7, u"vxFixture.FailingWindow", u"Out of windows"}},
      {u"vxFixture.NoWindow",
       {vx::kErrInvalidCall, u"vxTM2Main",
        u"The control 'vxFixture.NoWindow' did not create a child window of the form"}},
  };
  for (const auto& [progId, error] : cases) {
    EXPECT_EQ(ErrorOf([&] { controls().Add(progId, u"x"); }), error);
    ExpectNothingAdded();
  }
  const vx::ErrorInfo missing = ErrorOf([&] { controls().Add(u"vxFixture.Missing", u"x"); });
  EXPECT_EQ(missing.number, vx::kErrCannotCreate);
  EXPECT_NE(missing.description.find(u"vxFixture.Missing"), std::u16string::npos);
  ExpectNothingAdded();
}

TEST_F(Container, DuplicateNameInAnyCaseIsError457AndLeavesNothingNew) {
  auto first = controls().Add(u"vxFixture.Control", u"Screen");
  const int32_t live = vx::toolkit::LiveObjects();
  const vx::ErrorInfo error = ErrorOf([&] { controls().Add(u"vxFixture.Control", u"SCREEN"); });
  EXPECT_EQ(error, (vx::ErrorInfo{vx::kErrDuplicateKey, u"vxTM2Main",
                                  u"There is already a control with the name 'SCREEN'"}));
  EXPECT_EQ(controls().Count(), 1u);
  EXPECT_EQ(vx::test::ChildWindows(form.Handle()).size(), 1u);
  EXPECT_EQ(vx::toolkit::LiveObjects(), live);
}

TEST_F(Container, RemovedControlIsDestroyedReleasedAndItsHandleDetached) {
  auto control = controls().Add(u"vxFixture.Control", u"myEmbeddedControl");
  HWND window = control->Handle();
  controls().Remove(u"MyEmbeddedControl");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(controls().Count(), 0u);
  EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore);
  EXPECT_FALSE(control->IsAttached());
  EXPECT_EQ(control->Name(), u"myEmbeddedControl");
  for (const auto& access : std::vector<std::function<void()>>{
           [&] { control->Left(); }, [&] { control->SetWidth(15); }, [&] { control->Visible(); },
           [&] { control->SetVisible(false); }, [&] { control->SetFocus(); },
           [&] { control->Object(); }, [&] { control->Handle(); },
           [&] { control->SetNotificationHandler({}); }}) {
    EXPECT_EQ(ErrorOf(access).number, vx::kErrObjectNotSet);
  }
  EXPECT_EQ(ErrorOf([&] { controls().Remove(u"myEmbeddedControl"); }),
            (vx::ErrorInfo{vx::kErrInvalidCall, u"vxTM2Main",
                           u"There is no control with the name 'myEmbeddedControl'"}));
}

TEST_F(Container, NotificationsReachTheHandlerUntilItIsCleared) {
  auto control = controls().Add(u"vxFixture.Control", u"bar");
  std::vector<std::u16string> seen;
  control->SetNotificationHandler([&](std::u16string_view event) { seen.emplace_back(event); });
  vx::CallByName(control->Object(), u"Notify", {vx::Value(u"Click")});
  EXPECT_EQ(seen, std::vector<std::u16string>{u"Click"});

  control->SetNotificationHandler([](std::u16string_view) { vx::Raise(vx::kErrOverflow); });
  EXPECT_EQ(
      ErrorOf([&] { vx::CallByName(control->Object(), u"Notify", {vx::Value(u"x")}); }).number,
      vx::kErrOverflow);

  control->SetNotificationHandler({});
  vx::CallByName(control->Object(), u"Notify", {vx::Value(u"Click")});
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(Container, FocusGoesToTheControlsWindow) {
  form.Show();
  auto control = controls().Add(u"vxFixture.Control", u"focused");
  control->SetVisible(true);
  control->SetFocus();
  EXPECT_EQ(GetFocus(), control->Handle());
}

TEST_F(Container, UnloadingTheFormRemovesEveryControl) {
  auto first = controls().Add(u"vxFixture.Control", u"one");
  auto second = controls().Add(u"vxFixture.Control", u"two");
  form.Unload();
  EXPECT_FALSE(first->IsAttached());
  EXPECT_FALSE(second->IsAttached());
  EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore);
  EXPECT_EQ(ErrorOf([&] { controls().Add(u"vxFixture.Control", u"late"); }).number,
            vx::kErrObjectNotSet);
}

TEST_F(Container, KeyPreviewSeesKeysOfAContainedControlBeforeIt) {
  form.SetKeyPreview(true);
  auto control = controls().Add(u"vxFixture.Control", u"keys");
  PostMessageW(control->Handle(), WM_KEYDOWN, VK_F1, 0);
  vx::test::PumpMessages();
  EXPECT_EQ(form.events.back(), "KeyDown 112 0");
  EXPECT_EQ(vx::CallByName(control->Object(), u"LastKey").As<int32_t>(), VK_F1);
}

}  // namespace
