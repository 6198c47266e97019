// Adding and removing controls of component libraries in a form.
#include <gtest/gtest.h>

#include <array>
#include <functional>

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
  std::shared_ptr<vx::toolkit::ContainedControl> Add(std::u16string_view name) {
    return controls().Add(u"vxFixture.Control", name);
  }
  // What the form holds: its controls and their windows.
  std::array<size_t, 2> Held() {
    size_t windows = 0;
    for (HWND w = GetWindow(form.Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++windows;
    return {controls().Count(), windows};
  }

  vx::toolkit::Form form;
  int32_t liveBefore = 0;
};

TEST_F(Container, AddedControlIsAnInvisibleChildFoundByNameInAnyCase) {
  auto control = Add(u"myEmbeddedControl");
  EXPECT_EQ(Held(), (std::array<size_t, 2>{1, 1}));
  EXPECT_EQ(GetParent(control->Handle()), form.Handle());
  EXPECT_FALSE(control->Visible());
  EXPECT_EQ(control->ProgId(), u"vxFixture.Control");
  EXPECT_EQ(controls().Find(u"MYEMBEDDEDCONTROL"), control);
  EXPECT_EQ(controls().Find(u"other"), nullptr);
  form.Show();
  control->SetVisible(true);
  EXPECT_TRUE(control->Visible());
  control->SetFocus();
  EXPECT_EQ(GetFocus(), control->Handle());
}

TEST_F(Container, ControlsThatCannotBeAddedLeaveNothing) {
  Add(u"Screen");
  struct Case {
    std::u16string_view progId, name;
    vx::ErrorInfo error;
  };
  const Case cases[] = {
      {u"vxFixture.Plain",
       u"x",
       {vx::kErrTypeMismatch, u"vxTM2Main", u"The class 'vxFixture.Plain' is not a control"}},
      {u"vxFixture.FailingWindow", u"x", {7, u"vxFixture.FailingWindow", u"Out of windows"}},
      {u"vxFixture.NoWindow",
       u"x",
       {vx::kErrInvalidCall, u"vxTM2Main",
        u"The control 'vxFixture.NoWindow' did not create a child window of the form"}},
      {u"vxFixture.Control",
       u"SCREEN",
       {vx::kErrDuplicateKey, u"vxTM2Main", u"There is already a control with the name 'SCREEN'"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf([&] { controls().Add(c.progId, c.name); }), c.error);
  }
  EXPECT_EQ(ErrorOf([&] { controls().Add(u"vxFixture.Missing", u"x"); }).number,
            vx::kErrCannotCreate);
  EXPECT_EQ(ErrorOf([&] { controls().Add(u"vxFixture.Control", u""); }).number,
            vx::kErrInvalidCall);
  EXPECT_EQ(Held(), (std::array<size_t, 2>{1, 1}));
  EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore + 1);
}

TEST_F(Container, RemovedControlIsDestroyedReleasedAndItsHandleDetached) {
  auto control = Add(u"myEmbeddedControl");
  HWND window = control->Handle();
  controls().Remove(u"MyEmbeddedControl");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Held(), (std::array<size_t, 2>{0, 0}));
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
  auto control = Add(u"bar");
  std::vector<std::u16string> seen;
  const auto notify = [&](const char16_t* event) {
    return ErrorOf([&] { vx::CallByName(control->Object(), u"Notify", {vx::Value(event)}); });
  };
  control->SetNotificationHandler([&](std::u16string_view event) { seen.emplace_back(event); });
  notify(u"Click");
  control->SetNotificationHandler([](std::u16string_view) { vx::Raise(vx::kErrOverflow); });
  EXPECT_EQ(notify(u"x").number, vx::kErrOverflow);
  control->SetNotificationHandler({});
  notify(u"Late");
  EXPECT_EQ(seen, std::vector<std::u16string>{u"Click"});
}

TEST_F(Container, UnloadingTheFormRemovesEveryControl) {
  auto first = Add(u"one");
  auto second = Add(u"two");
  form.Unload();
  EXPECT_FALSE(first->IsAttached());
  EXPECT_FALSE(second->IsAttached());
  EXPECT_EQ(vx::toolkit::LiveObjects(), liveBefore);
  EXPECT_EQ(ErrorOf([&] { Add(u"late"); }).number, vx::kErrObjectNotSet);
}

}  // namespace
