// Every way a form closes: the close reasons from real messages, refusals, owned forms and the
// end of the message loop.
#include <gtest/gtest.h>

#include "testing/ErrorNumberOf.h"
#include "testing/MessageBoxReader.h"
#include "toolkit/MessageLoop.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using Events = std::vector<std::string>;
using vx::test::RecordingForm;

class FormClose : public ::testing::Test {
 protected:
  void SetUp() override {
    vx::test::TakeQuitMessage();
    form.Load();
    form.events.clear();
  }
  void TearDown() override {
    form.refuseQuery = form.refuseUnload = form.failQuery = false;
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  RecordingForm form;
};

TEST_F(FormClose, CloseMessageIsReasonZeroAndEndsTheLoop) {
  HWND window = form.Handle();
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(vx::toolkit::RunMessageLoop(), 0);
  EXPECT_EQ(form.events, (Events{"QueryUnload 0", "Unload"}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(form.IsLoaded());
}

TEST_F(FormClose, SystemMenuCloseIsReasonZero) {
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(form.events, (Events{"QueryUnload 0", "Unload"}));
  EXPECT_TRUE(vx::test::TakeQuitMessage());
}

TEST_F(FormClose, UnloadFromCodeIsReasonOne) {
  form.Unload();
  EXPECT_EQ(form.events, (Events{"QueryUnload 1", "Unload"}));
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_TRUE(vx::test::TakeQuitMessage());
  form.Unload();  // Nothing left to unload.
  EXPECT_EQ(form.events.size(), 2u);
}

TEST_F(FormClose, EndOfSessionAsksWithReasonTwoThenUnloads) {
  EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(form.events, (Events{"QueryUnload 2"}));
  EXPECT_TRUE(form.IsLoaded());
  SendMessageW(form.Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(form.events, (Events{"QueryUnload 2", "Unload"}));
  EXPECT_FALSE(form.IsLoaded());
}

TEST_F(FormClose, ARefusedRequestOrACancelledUnloadKeepsTheWindow) {
  form.refuseQuery = true;
  EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  SendMessageW(form.Handle(), WM_ENDSESSION, FALSE, 0);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  form.Unload();
  EXPECT_EQ(form.events, (Events{"QueryUnload 2", "QueryUnload 0", "QueryUnload 1"}));
  EXPECT_TRUE(IsWindow(form.Handle()));
  form.refuseQuery = false;
  form.refuseUnload = true;
  form.Unload();
  EXPECT_EQ(form.events.back(), "Unload");
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_FALSE(vx::test::TakeQuitMessage());
}

TEST_F(FormClose, OnlyTheLastFormEndsTheLoop) {
  RecordingForm second;
  second.Load();
  second.Unload();
  EXPECT_FALSE(vx::test::TakeQuitMessage());
  form.Unload();
  EXPECT_TRUE(vx::test::TakeQuitMessage());
}

TEST_F(FormClose, AWindowDestroyedWithoutUnloadEndsTheLoopWithoutEvents) {
  DestroyWindow(form.Handle());
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_TRUE(form.events.empty());
  EXPECT_TRUE(vx::test::TakeQuitMessage());
}

TEST_F(FormClose, UnloadDuringLoadEndsTheFormBeforeItIsShown) {
  RecordingForm failing;
  failing.unloadInLoad = true;
  failing.Load();
  failing.Show();
  EXPECT_EQ(failing.events, (Events{"Load", "QueryUnload 1", "Unload"}));
  EXPECT_FALSE(failing.IsLoaded());
}

TEST_F(FormClose, OwnedFormsAreAskedWithReasonFiveAndUnloadedFirst) {
  RecordingForm owned;
  owned.SetOwner(&form);
  owned.Load();
  owned.events.clear();
  EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), form.Handle());

  owned.refuseQuery = true;
  form.Unload();
  EXPECT_EQ(owned.events, (Events{"QueryUnload 5"}));
  EXPECT_TRUE(form.IsLoaded());

  owned.refuseQuery = false;
  owned.events.clear();
  form.events.clear();
  form.Unload();
  EXPECT_EQ(owned.events, (Events{"QueryUnload 5", "Unload"}));
  EXPECT_EQ(form.events, (Events{"QueryUnload 1", "Unload"}));
  EXPECT_FALSE(owned.IsLoaded());
  EXPECT_FALSE(form.IsLoaded());
}

TEST_F(FormClose, AnOwnerDeletedBeforeLoadLeavesAnUnownedForm) {
  RecordingForm owned;
  {
    RecordingForm owner;
    owned.SetOwner(&owner);
  }
  owned.Load();
  EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), nullptr);
  owned.Unload();
}

TEST_F(FormClose, AnErrorInTheCloseRequestIsShownAndTheWindowStays) {
  form.failQuery = true;
  form.SetCaption(u"Failing close");
  vx::testing::MessageBoxReader reader(u"Failing close");
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(reader.Wait(),
            std::vector<std::u16string>{u"Error 6: Overflow\r\n\r\nSource: Recording.QueryUnload"});
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(form.events, (Events{"QueryUnload 0"}));
  // From code the same error reaches the caller instead.
  EXPECT_EQ(vx::testing::ErrorOf([&] { form.Unload(); }).number, vx::kErrOverflow);
  EXPECT_TRUE(form.IsLoaded());
}

// A window procedure put in front of the form's own, as the host's subclassing does.
WNDPROC gPrevious = nullptr;
int gSeenCloses = 0;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) ++gSeenCloses;
  return CallWindowProcW(gPrevious, window, message, wParam, lParam);
}

TEST_F(FormClose, ASubclassedFormStillRaisesItsEventsAndCanBeUnhooked) {
  gSeenCloses = 0;
  form.refuseQuery = true;
  gPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(gSeenCloses, 1);
  EXPECT_EQ(form.events, (Events{"QueryUnload 0"}));

  SetWindowLongPtrW(form.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPrevious));
  form.refuseQuery = false;
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(gSeenCloses, 1);
  EXPECT_EQ(form.events, (Events{"QueryUnload 0", "QueryUnload 0", "Unload"}));
}

}  // namespace
