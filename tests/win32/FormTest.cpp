// A form in a real window: its events, every way it closes, and its bounds in twips.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "testing/ErrorNumberOf.h"
#include "testing/MessageBoxReader.h"
#include "toolkit/MessageLoop.h"
#include "win32/ScreenDpi.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using Events = std::vector<std::string>;
using vx::testing::ErrorNumberOf;

// The test display has 96 dpi: 15 twips to a pixel.
constexpr float kTwips = 15.0F;

// A form that records its events as text, and can be told to refuse or fail.
class RecordingForm : public vx::toolkit::Form {
 public:
  Events events;
  bool refuseQuery = false, refuseUnload = false, unloadInLoad = false, unloadInQuery = false;
  bool failActivate = false, failQuery = false;

 protected:
  void Form_Load() override {
    events.push_back("Load");
    if (unloadInLoad) Unload();
  }
  void Form_Activate() override {
    events.push_back("Activate");
    if (failActivate) vx::Raise(vx::kErrInvalidCall, u"Recording.Activate", u"Activation failed");
  }
  void Form_KeyDown(int16_t keyCode, int16_t shift) override {
    events.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
  }
  void Form_Resize() override { events.push_back("Resize"); }
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override {
    events.push_back("QueryUnload " + std::to_string(unloadMode));
    if (failQuery) vx::Raise(vx::kErrOverflow, u"Recording.QueryUnload");
    if (unloadInQuery) Unload();
    if (refuseQuery) cancel = -1;
  }
  void Form_Unload(int16_t& cancel) override {
    events.push_back("Unload");
    if (refuseUnload) cancel = -1;
  }
};

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { vx::test::TakeQuitMessage(); }
  void TearDown() override {
    form.refuseQuery = form.refuseUnload = form.failQuery = false;
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  long Count(const std::string& event) const {
    return std::count(form.events.begin(), form.events.end(), event);
  }
  std::array<long, 4> Pixels() const {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  RecordingForm form;
};

TEST_F(Forms, LoadRunsOnceHiddenAndShowRaisesResizeOnceThenEveryActivation) {
  form.Load();
  form.Load();
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  form.Show();
  vx::test::PumpMessages();
  EXPECT_EQ(form.events, (Events{"Load", "Resize", "Activate"}));
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
  // Its face is the platform's dialog colour.
  EXPECT_EQ(GetPixel(form.GetDeviceContext().get(), 5, 5), GetSysColor(COLOR_BTNFACE));
  RecordingForm other;
  other.Load();
  other.Show();
  vx::test::PumpMessages();
  SetForegroundWindow(form.Handle());
  SetActiveWindow(form.Handle());
  vx::test::PumpMessages();
  EXPECT_EQ(Count("Activate"), 2);
  other.Unload();

  form.events.clear();
  form.SetWidth(form.Width() + 300);
  form.SetLeft(form.Left() + 150);  // A move is no resize.
  form.Refresh();
  form.SetWindowState(2);
  vx::test::PumpMessages();
  EXPECT_EQ(form.events, (Events{"Resize", "Resize"}));
}

TEST_F(Forms, TheFormGetsItsOwnKeysAndWithPreviewAChildsKeysFirst) {
  form.Load();
  SendMessageW(form.Handle(), WM_KEYDOWN, VK_F1, 0);
  HWND child = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, form.Handle(),
                               nullptr, nullptr, nullptr);
  PostMessageW(child, WM_KEYDOWN, VK_F2, 0);
  vx::test::PumpMessages();
  form.SetKeyPreview(true);
  PostMessageW(child, WM_KEYDOWN, VK_F3, 0);
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(vx::toolkit::RunMessageLoop(), 0);
  EXPECT_EQ(form.events,
            (Events{"Load", "KeyDown 112 0", "KeyDown 114 0", "QueryUnload 0", "Unload"}));
}

TEST_F(Forms, AnErrorInAHandlerIsShownOnceCaptionedByTheFormOrTheProgram) {
  for (const char16_t* caption : {u"Recording form", u""}) {
    RecordingForm failing;
    failing.SetCaption(caption);
    failing.failActivate = true;
    failing.Load();
    vx::testing::MessageBoxReader reader(*caption ? caption : u"vxTM2Main");
    failing.Show();
    EXPECT_EQ(reader.Wait(), std::vector<std::u16string>{
                                 u"Error 5: Activation failed\r\n\r\nSource: Recording.Activate"});
    // Closing the box reactivated the form without raising the failing event once more.
    vx::test::PumpMessages();
    EXPECT_EQ(failing.events, (Events{"Load", "Resize", "Activate"}));
    failing.failActivate = false;
  }
}

// Closes and the form's answers: kAskEnd, kEnd and kNoEnd are the session's end asked, carried
// out and called off; kRefuse and kKeep refuse the request and the unload; kNested unloads from
// within the request.
enum Step { kClose, kUnload, kAskEnd, kEnd, kNoEnd, kDestroy, kRefuse, kKeep, kNested };

void Apply(RecordingForm& form, Step step) {
  HWND window = form.Handle();
  if (step == kClose) SendMessageW(window, WM_CLOSE, 0, 0);
  if (step == kUnload) form.Unload();
  if (step == kAskEnd) {
    form.events.push_back("Answer " +
                          std::to_string(SendMessageW(window, WM_QUERYENDSESSION, 0, 0)));
  }
  if (step == kEnd || step == kNoEnd) {
    SendMessageW(window, WM_ENDSESSION, step == kEnd, 0);
  }
  if (step == kDestroy) DestroyWindow(window);
  if (step == kRefuse) form.refuseQuery = true;
  if (step == kKeep) form.refuseUnload = true;
  if (step == kNested) form.unloadInQuery = true;
}

TEST_F(Forms, EachCloseHasItsReasonAndARefusalKeepsTheWindow) {
  const struct {
    std::vector<Step> steps;
    Events events;  // then whether the form is still loaded
  } cases[] = {
      {{kClose}, {"QueryUnload 0", "Unload"}},
      {{kUnload}, {"QueryUnload 1", "Unload"}},
      // The session ends whatever the unload says.
      {{kAskEnd, kKeep, kEnd}, {"QueryUnload 2", "Answer 1", "Unload"}},
      {{kRefuse, kAskEnd, kNoEnd}, {"QueryUnload 2", "Answer 0", "loaded"}},
      {{kRefuse, kClose, kUnload}, {"QueryUnload 0", "QueryUnload 1", "loaded"}},
      {{kKeep, kUnload}, {"QueryUnload 1", "Unload", "loaded"}},
      {{kDestroy}, {}},
      // An unload asked for while one runs is that one.
      {{kNested, kClose}, {"QueryUnload 0", "Unload"}},
  };
  for (const auto& c : cases) {
    RecordingForm closing;
    closing.Load();
    closing.events.clear();
    for (const Step step : c.steps) Apply(closing, step);
    if (closing.IsLoaded()) closing.events.push_back("loaded");
    EXPECT_EQ(closing.events, c.events) << ::testing::PrintToString(c.steps);
    // The last form gone ends the message loop.
    EXPECT_EQ(vx::test::TakeQuitMessage(), !closing.IsLoaded());
    closing.refuseQuery = closing.refuseUnload = false;
    closing.Unload();
    vx::test::TakeQuitMessage();
  }
}

TEST_F(Forms, UnloadDuringLoadEndsTheFormBeforeItIsShownAndOnlyTheCaptionOutlivesTheWindow) {
  EXPECT_EQ(ErrorNumberOf([&] { form.Width(); }), vx::kErrObjectNotSet);
  form.SetCaption(u"Kept");
  form.unloadInLoad = true;
  form.Load();
  form.Show();
  EXPECT_EQ(form.events, (Events{"Load", "QueryUnload 1", "Unload"}));
  EXPECT_EQ(form.Caption(), u"Kept");
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWindowState(0); }), vx::kErrObjectNotSet);
}

TEST_F(Forms, OwnedFormsAreAskedWithReasonFiveAndGoFirstAndOnlyTheLastFormEndsTheLoop) {
  RecordingForm owned, other, orphan;
  {
    RecordingForm gone;
    orphan.SetOwner(&gone);
  }
  owned.SetOwner(&form);
  for (RecordingForm* f : {&form, &owned, &other, &orphan}) f->Load();
  EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), form.Handle());
  EXPECT_EQ(GetWindow(orphan.Handle(), GW_OWNER), nullptr);
  owned.refuseQuery = true;
  form.Unload();
  owned.refuseQuery = false;
  form.Unload();
  EXPECT_EQ(owned.events, (Events{"Load", "QueryUnload 5", "QueryUnload 5", "Unload"}));
  EXPECT_EQ(form.events, (Events{"Load", "QueryUnload 1", "QueryUnload 1", "Unload"}));
  orphan.Unload();
  EXPECT_FALSE(vx::test::TakeQuitMessage());
  other.Unload();
  EXPECT_TRUE(vx::test::TakeQuitMessage());
}

TEST_F(Forms, AnErrorInTheCloseRequestIsShownFromTheWindowAndPassedOnFromCode) {
  form.Load();
  form.failQuery = true;
  form.SetCaption(u"Failing close");
  vx::testing::MessageBoxReader reader(u"Failing close");
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(reader.Wait(),
            std::vector<std::u16string>{u"Error 6: Overflow\r\n\r\nSource: Recording.QueryUnload"});
  EXPECT_EQ(ErrorNumberOf([&] { form.Unload(); }), vx::kErrOverflow);
  EXPECT_TRUE(form.IsLoaded());
}

TEST_F(Forms, BoundsAreOuterPixelsInTwipsRoundedToTheNearestPixel) {
  form.Load();
  ASSERT_EQ((std::array{vx::win32::TwipsPerPixelX(), vx::win32::TwipsPerPixelY()}),
            (std::array{kTwips, kTwips}));
  form.SetLeft(-20 * kTwips);
  form.SetTop(50 * kTwips + 7);
  form.SetWidth(640 * kTwips + 8);
  form.SetHeight(480 * kTwips - 7);
  EXPECT_EQ(Pixels(), (std::array<long, 4>{-20, 50, 641, 480}));
  EXPECT_EQ((std::array{form.Left(), form.Top(), form.Width(), form.Height()}),
            (std::array{-20 * kTwips, 50 * kTwips, 641 * kTwips, 480 * kTwips}));
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ((std::array{form.ScaleWidth(), form.ScaleHeight()}),
            (std::array{client.right * kTwips, client.bottom * kTwips}));
  EXPECT_LT(form.ScaleHeight(), form.Height());
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWidth(-kTwips); }), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { form.SetLeft(3.0e38f); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWindowState(3); }), vx::kErrInvalidCall);
}

TEST_F(Forms, MaximisedAndMinimisedWindowsReadAndWriteTheirNormalBounds) {
  form.Load();
  form.SetLeft(30 * kTwips);
  form.SetTop(40 * kTwips);
  form.SetWidth(600 * kTwips);
  form.SetWindowState(2);
  EXPECT_FALSE(IsZoomed(form.Handle()));  // taken when shown
  form.Show();
  EXPECT_TRUE(IsZoomed(form.Handle()));
  EXPECT_EQ(form.Width(), 600 * kTwips);
  EXPECT_GT(form.ScaleWidth(), 600 * kTwips);
  form.SetWidth(700 * kTwips);
  EXPECT_EQ(form.WindowState(), 2);
  form.SetWindowState(1);
  ASSERT_EQ(form.WindowState(), 1);
  EXPECT_EQ((std::array{form.Left(), form.Top(), form.Width()}),
            (std::array{30 * kTwips, 40 * kTwips, 700 * kTwips}));
  form.SetHeight(450 * kTwips);
  form.SetWindowState(0);
  ASSERT_EQ(form.WindowState(), 0);
  EXPECT_EQ(Pixels(), (std::array<long, 4>{30, 40, 700, 450}));
  form.SetEnabled(false);
  form.SetVisible(false);
  EXPECT_FALSE(IsWindowEnabled(form.Handle()));
  EXPECT_FALSE(form.Enabled());
  EXPECT_FALSE(form.Visible());
}

}  // namespace
