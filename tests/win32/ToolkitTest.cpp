// The toolkit on real windows: forms, their controls, component libraries by class name and the
// busy notice.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "contracts/CallByName.h"
#include "contracts/IControl.h"
#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"
#include "testing/MessageBoxReader.h"
#include "testing/Scratch.h"
#include "testing/Windows.h"
#include "toolkit/ComponentRuntime.h"
#include "toolkit/Form.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/PendingCallNotice.h"
#include "win32/ScreenDpi.h"

namespace vx::toolkit {
namespace {

using Events = std::vector<std::string>;
using testing::ErrorNumberOf;
using testing::ErrorOf;
using testing::TakeQuitMessage;
using namespace std::chrono_literals;

const auto Pump = [] { testing::Pump(&Form::PreviewKeyMessage); };

// The test display has 96 dpi: 15 twips to a pixel.
constexpr float kTwips = 15.0F;

// A form that records its events as text, and can be told to refuse or fail.
class RecordingForm : public Form {
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
    if (failActivate) Raise(kErrInvalidCall, u"Recording.Activate", u"Activation failed");
  }
  void Form_KeyDown(int16_t keyCode, int16_t shift) override {
    events.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
  }
  void Form_Resize() override { events.push_back("Resize"); }
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override {
    events.push_back("QueryUnload " + std::to_string(unloadMode));
    if (failQuery) Raise(kErrOverflow, u"Recording.QueryUnload");
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
  void SetUp() override { TakeQuitMessage(); }
  void TearDown() override {
    form.refuseQuery = form.refuseUnload = form.failQuery = false;
    form.Unload();
    TakeQuitMessage();
  }
  RecordingForm form;
};

TEST_F(Forms, LoadRunsOnceHiddenAndShowRaisesResizeOnceThenEveryActivation) {
  form.Load();
  form.Load();
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  form.Show();
  Pump();
  EXPECT_EQ(form.events, (Events{"Load", "Resize", "Activate"}));
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
  // Its face is the platform's dialog colour.
  EXPECT_EQ(GetPixel(form.GetDeviceContext().get(), 5, 5), GetSysColor(COLOR_BTNFACE));
  RecordingForm other;
  other.Load();
  other.Show();
  Pump();
  SetForegroundWindow(form.Handle());
  SetActiveWindow(form.Handle());
  Pump();
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Activate"), 2);
  other.Unload();
  EXPECT_FALSE(TakeQuitMessage()) << "a form is left";

  form.events.clear();
  form.SetWidth(form.Width() + 300);
  form.SetLeft(form.Left() + 150);  // A move is no resize.
  form.Refresh();
  form.SetWindowState(2);
  Pump();
  EXPECT_EQ(form.events, (Events{"Resize", "Resize"}));
}

TEST_F(Forms, TheFormGetsItsOwnKeysAndWithPreviewAChildsKeysFirst) {
  form.Load();
  SendMessageW(form.Handle(), WM_KEYDOWN, VK_F1, 0);
  HWND child = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, form.Handle(),
                               nullptr, nullptr, nullptr);
  PostMessageW(child, WM_KEYDOWN, VK_F2, 0);
  Pump();
  form.SetKeyPreview(true);
  PostMessageW(child, WM_KEYDOWN, VK_F3, 0);
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(form.events,
            (Events{"Load", "KeyDown 112 0", "KeyDown 114 0", "QueryUnload 0", "Unload"}));
}

TEST_F(Forms, AnErrorInAHandlerIsShownOnceCaptionedByTheFormOrTheProgram) {
  for (const char16_t* caption : {u"Recording form", u""}) {
    RecordingForm failing;
    failing.SetCaption(caption);
    failing.failActivate = true;
    failing.Load();
    testing::MessageBoxReader reader(*caption ? caption : u"vxTM2Main");
    failing.Show();
    EXPECT_EQ(reader.Wait(), std::vector<std::u16string>{
                                 u"Error 5: Activation failed\r\n\r\nSource: Recording.Activate"});
    // Closing the box reactivated the form without raising the failing event once more.
    Pump();
    EXPECT_EQ(failing.events, (Events{"Load", "Resize", "Activate"}));
    failing.failActivate = false;
  }
}

// Closes and the form's answers: kAskEnd, kEnd and kNoEnd are the session's end asked, carried
// out and called off; kRefuse and kKeep refuse the request and the unload; kNested unloads from
// within the request.
enum Step { kClose, kUnload, kAskEnd, kEnd, kNoEnd, kDestroy, kRefuse, kKeep, kNested };

void Apply(RecordingForm& form, Step step) {
  const HWND window = form.Handle();
  if (step == kClose) SendMessageW(window, WM_CLOSE, 0, 0);
  if (step == kUnload) form.Unload();
  if (step == kAskEnd) {
    form.events.push_back("Answer " +
                          std::to_string(SendMessageW(window, WM_QUERYENDSESSION, 0, 0)));
  }
  if (step == kEnd || step == kNoEnd) SendMessageW(window, WM_ENDSESSION, step == kEnd, 0);
  if (step == kDestroy) DestroyWindow(window);
  form.refuseQuery |= step == kRefuse;
  form.refuseUnload |= step == kKeep;
  form.unloadInQuery |= step == kNested;
}

TEST_F(Forms, EachCloseHasItsReasonAndARefusalKeepsTheWindow) {
  // The events, then whether the form is still loaded.
  const std::pair<std::vector<Step>, Events> cases[] = {
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
  for (const auto& [steps, events] : cases) {
    RecordingForm closing;
    closing.Load();
    closing.events.clear();
    for (const Step step : steps) Apply(closing, step);
    if (closing.IsLoaded()) closing.events.push_back("loaded");
    EXPECT_EQ(closing.events, events) << ::testing::PrintToString(steps);
    // The last form gone ends the message loop.
    EXPECT_EQ(TakeQuitMessage(), !closing.IsLoaded());
    closing.refuseQuery = closing.refuseUnload = false;
    closing.Unload();
    TakeQuitMessage();
  }
}

TEST_F(Forms, UnloadDuringLoadEndsTheFormBeforeItIsShownAndOnlyTheCaptionOutlivesTheWindow) {
  EXPECT_EQ(ErrorNumberOf([&] { form.Width(); }), kErrObjectNotSet);
  form.SetCaption(u"Kept");
  form.unloadInLoad = true;
  form.Load();
  form.Show();
  EXPECT_EQ(form.events, (Events{"Load", "QueryUnload 1", "Unload"}));
  EXPECT_EQ(form.Caption(), u"Kept");
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWindowState(0); }), kErrObjectNotSet);
}

TEST_F(Forms, AnErrorInTheCloseRequestIsShownFromTheWindowAndPassedOnFromCode) {
  form.Load();
  form.failQuery = true;
  form.SetCaption(u"Failing close");
  testing::MessageBoxReader reader(u"Failing close");
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(reader.Wait(),
            std::vector<std::u16string>{u"Error 6: Overflow\r\n\r\nSource: Recording.QueryUnload"});
  EXPECT_EQ(ErrorNumberOf([&] { form.Unload(); }), kErrOverflow);
  EXPECT_TRUE(form.IsLoaded());
}

TEST_F(Forms, BoundsAreOuterPixelsInTwipsRoundedToTheNearestPixelAndNormalWhileMaximised) {
  form.Load();
  ASSERT_EQ((std::array{win32::TwipsPerPixelX(), win32::TwipsPerPixelY()}),
            (std::array{kTwips, kTwips}));
  form.SetLeft(-20 * kTwips);
  form.SetTop(50 * kTwips + 7);
  form.SetWidth(640 * kTwips + 8);
  form.SetHeight(480 * kTwips - 7);
  EXPECT_EQ(testing::WindowRect(form.Handle()), (testing::Rect{-20, 50, 621, 530}));
  EXPECT_EQ((std::array{form.Left(), form.Top(), form.Width(), form.Height()}),
            (std::array{-20 * kTwips, 50 * kTwips, 641 * kTwips, 480 * kTwips}));
  const testing::Rect client = testing::ClientRect(form.Handle());
  EXPECT_EQ((std::array{form.ScaleWidth(), form.ScaleHeight()}),
            (std::array{client[2] * kTwips, client[3] * kTwips}));
  EXPECT_LT(form.ScaleHeight(), form.Height());
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWidth(-kTwips); }), kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { form.SetLeft(3.0e38f); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { form.SetWindowState(3); }), kErrInvalidCall);
  // Maximised and minimised windows read and write their normal bounds.
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
  EXPECT_EQ(testing::WindowRect(form.Handle()), (testing::Rect{30, 40, 730, 490}));
  form.SetEnabled(false);
  form.SetVisible(false);
  EXPECT_EQ((std::array{IsWindowEnabled(form.Handle()) != 0, form.Enabled(), form.Visible()}),
            (std::array{false, false, false}));
}

class Container : public ::testing::Test {
 protected:
  void SetUp() override {
    liveBefore = LiveObjects();
    form.Load();
  }
  void TearDown() override {
    form.Unload();
    TakeQuitMessage();
    EXPECT_EQ(LiveObjects(), liveBefore);
  }
  auto Add(std::u16string_view name) { return form.Controls().Add(u"vxFixture.Control", name); }
  // What the form holds: its controls and their windows.
  std::array<size_t, 2> Held() {
    size_t windows = 0;
    for (HWND w = GetWindow(form.Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++windows;
    return {form.Controls().Count(), windows};
  }

  Form form;
  int32_t liveBefore = 0;
};

TEST_F(Container, AddedControlIsAnInvisibleChildFoundByNameInAnyCaseUntilRemoved) {
  auto control = Add(u"myEmbeddedControl");
  EXPECT_EQ(Held(), (std::array<size_t, 2>{1, 1}));
  EXPECT_EQ(GetParent(control->Handle()), form.Handle());
  EXPECT_FALSE(control->Visible());
  EXPECT_EQ(control->ProgId(), u"vxFixture.Control");
  EXPECT_EQ(form.Controls().Find(u"MYEMBEDDEDCONTROL"), control);
  EXPECT_EQ(form.Controls().Find(u"other"), nullptr);
  form.Show();
  control->SetVisible(true);
  EXPECT_TRUE(control->Visible());
  control->SetFocus();
  EXPECT_EQ(GetFocus(), control->Handle());
  // Removed, it is destroyed, released and its handle detached.
  HWND window = control->Handle();
  form.Controls().Remove(u"MyEmbeddedControl");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Held(), (std::array<size_t, 2>{0, 0}));
  EXPECT_EQ(LiveObjects(), liveBefore);
  EXPECT_EQ(control->Name(), u"myEmbeddedControl");
  for (const auto& access : std::vector<std::function<void()>>{
           [&] { control->Left(); }, [&] { control->SetWidth(15); }, [&] { control->Visible(); },
           [&] { control->SetVisible(false); }, [&] { control->SetFocus(); },
           [&] { control->Object(); }, [&] { control->Handle(); },
           [&] { control->SetNotificationHandler({}); }})
    EXPECT_EQ(ErrorNumberOf(access), kErrObjectNotSet);
  EXPECT_EQ(ErrorOf([&] { form.Controls().Remove(u"myEmbeddedControl"); }),
            (ErrorInfo{kErrInvalidCall, u"vxTM2Main",
                       u"There is no control with the name 'myEmbeddedControl'"}));
}

TEST_F(Container, ControlsThatCannotBeAddedLeaveNothing) {
  Add(u"Screen");
  const struct {
    std::u16string_view progId, name;
    int32_t number;
    const char16_t *source, *description;  // null: any
  } cases[] = {
      {u"vxFixture.Plain", u"x", kErrTypeMismatch, u"vxTM2Main",
       u"The class 'vxFixture.Plain' is not a control"},
      {u"vxFixture.FailingWindow", u"x", 7, u"vxFixture.FailingWindow", u"Out of windows"},
      {u"vxFixture.NoWindow", u"x", kErrInvalidCall, u"vxTM2Main",
       u"The control 'vxFixture.NoWindow' did not create a child window of the form"},
      {u"vxFixture.Control", u"SCREEN", kErrDuplicateKey, u"vxTM2Main",
       u"There is already a control with the name 'SCREEN'"},
      {u"vxFixture.Missing", u"x", kErrCannotCreate, nullptr, nullptr},
      {u"vxFixture.Control", u"", kErrInvalidCall, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const ErrorInfo error = ErrorOf([&] { form.Controls().Add(c.progId, c.name); });
    EXPECT_EQ(error.number, c.number) << ToUtf8(c.progId);
    if (c.source) {
      EXPECT_EQ(error, (ErrorInfo{c.number, c.source, c.description}));
    }
  }
  EXPECT_EQ(Held(), (std::array<size_t, 2>{1, 1}));
  EXPECT_EQ(LiveObjects(), liveBefore + 1);
}

TEST_F(Container, NotificationsReachTheHandlerUntilItIsClearedOrTheFormUnloads) {
  auto control = Add(u"bar");
  std::vector<std::u16string> seen;
  const auto notify = [&](const char16_t* event) {
    return ErrorOf([&] { CallByName(control->Object(), u"Notify", {Value(event)}); });
  };
  control->SetNotificationHandler([&](std::u16string_view event) { seen.emplace_back(event); });
  notify(u"Click");
  control->SetNotificationHandler([](std::u16string_view) { Raise(kErrOverflow); });
  EXPECT_EQ(notify(u"x").number, kErrOverflow);
  control->SetNotificationHandler({});
  notify(u"Late");
  EXPECT_EQ(seen, std::vector<std::u16string>{u"Click"});
  // Unloading the form removes every control.
  const std::shared_ptr<ContainedControl> added[] = {control, Add(u"two")};
  form.Unload();
  for (const auto& each : added)
    EXPECT_EQ(ErrorNumberOf([&] { each->Handle(); }), kErrObjectNotSet);
  EXPECT_EQ(LiveObjects(), liveBefore);
  EXPECT_EQ(ErrorOf([&] { Add(u"late"); }).number, kErrObjectNotSet);
}

// A copy of the fixture library at `target`, where a name that must not reach it would find it.
void Plant(const std::filesystem::path& target) {
  std::filesystem::create_directories(target.parent_path());
  // Removed first: this runtime's copy refuses to overwrite a file on the same drive ("File
  // exists"), as it cannot tell two files there apart.
  std::error_code absent;
  std::filesystem::remove(target, absent);
  std::filesystem::copy_file(testing::ProgramFolder() / "vxFixture.dll", target);
}

TEST(ComponentRuntime, CreatesObjectsByLibraryAndClassNameCountsThemLiveAndRefusesOthersWith429) {
  const int32_t before = LiveObjects();
  {
    Ref<IObject> plain = CreateObject(u"vxFixture.Plain");
    EXPECT_EQ(CallByName(plain, u"Echo", {Value(u"hello")}).As<std::u16string>(), u"hello");
    Ref<IControl> control = Create<IControl>(u"VXFIXTURE.Control");
    EXPECT_TRUE(control);
    EXPECT_EQ(LiveObjects(), before + 2);
    EXPECT_FALSE(CheckNoLiveObjects());
  }
  EXPECT_EQ(LiveObjects(), before);
  EXPECT_TRUE(AssertNoLiveObjects());
  // Missing or outside libraries, entry points and classes are error 429 naming the class.
  Plant(testing::ProgramFolder() / "sub" / "vxFixture.dll");
  for (std::u16string_view name :
       {u"..\\vxFixture.Plain", u"../vxFixture.Plain", u"sub\\vxFixture.Plain",
        u"sub/vxFixture.Plain", u"C:vxFixture.Plain", u"C:\\vxFixture.Plain",
        u"\\\\server\\share\\vxFixture.Plain", u"...Plain", u"..vxFixture.Plain",
        u"vxFixture..Plain", u".Plain", u"vxFixture.", u"vxFixture", u"", u"vx.Fixture.Plain",
        u"vxNoSuchLibrary.Plain", u"vxNoEntry.Plain", u"vxFixture.NoSuchClass"}) {
    const ErrorInfo error = ErrorOf([&] { CreateObject(name); });
    EXPECT_EQ(error.number, kErrCannotCreate) << ToUtf8(name);
    EXPECT_NE(error.description.find(name), std::u16string::npos) << ToUtf8(error.description);
  }
  // Any other error of the library's own passes unchanged.
  EXPECT_EQ(ErrorOf([] { CreateObject(u"vxFixture.Broken"); }),
            (ErrorInfo{5, u"vxFixture.Broken", u"The object cannot start"}));
  std::error_code ignored;
  std::filesystem::remove_all(testing::ProgramFolder() / "sub", ignored);
}

TEST(ComponentRuntime, NoLibraryLoadsFromTheCurrentDirectory) {
  const auto elsewhere = testing::ProgramFolder() / "elsewhere";
  for (const char* planted : {"vxElsewhere.dll", "vxPlanted.dll"}) Plant(elsewhere / planted);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere);
  EXPECT_EQ(ErrorNumberOf([] { CreateObject(u"vxElsewhere.Plain"); }), kErrCannotCreate);
  // Nor, once the process is initialised, by a plain library name: in a process of its own, as
  // that cannot be undone. System libraries still load by name, the program's own by class name.
  EXPECT_EXIT(
      {
        InitializeProcess();
        const bool kept = !LoadLibraryW(L"vxPlanted.dll") && LoadLibraryW(L"version.dll") &&
                          CreateObject(u"vxFixture.Plain");
        std::_Exit(kept ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(elsewhere);
}

constexpr char16_t kCaption[] = u"Busy test";

void PressShift() {
  keybd_event(VK_SHIFT, 0, 0, 0);
  keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

// Gives input, as a waiting user would, until `shown` holds; false after ten seconds without.
bool PressUntil(const std::function<bool()>& shown) {
  return testing::PumpUntil([&] { return PressShift(), shown(); }, nullptr, 10s);
}

// Runs `user` on a thread of its own while a call, with one nested in it, is pending on this one.
void WhileCallPending(const std::function<void()>& user) {
  PendingCallScope call, nested;
  std::thread(user).join();
}

TEST_F(Forms, InputOnlyAfterTheTimeoutShowsTheBusyNoticeOnceAndItClosesWhenTheCallReturns) {
  form.Load();
  form.Show();
  Pump();
  PendingCallNotice::SetText(u"Still waiting for a component");
  PendingCallNotice::SetCaption(kCaption);
  {
    testing::MessageBoxReader reader(kCaption);
    WhileCallPending([&] {
      PressShift();
      EXPECT_TRUE(reader.Wait(1, 500ms).empty()) << "no timeout set";
    });
    PendingCallNotice::SetTimeout(1000);
    WhileCallPending([&] {
      PressShift();  // not overdue yet
      EXPECT_TRUE(reader.Wait(1, 1500ms).empty());
      EXPECT_TRUE(PressUntil([&] { return !reader.Wait(1, 0ms).empty(); }));
      PressShift();
      EXPECT_EQ(reader.Wait(2, 500ms),
                std::vector<std::u16string>{u"Still waiting for a component"});
    });
  }
  PendingCallNotice::SetTimeout(1);
  WhileCallPending(
      [] { EXPECT_TRUE(PressUntil([] { return testing::FindMessageBox(kCaption); })); });
  PendingCallNotice::SetTimeout(0);
  EXPECT_EQ(testing::FindMessageBox(kCaption), nullptr);
  Pump();
}

}  // namespace
}  // namespace vx::toolkit
