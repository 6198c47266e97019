#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/CallByName.h"
#include "contracts/IControl.h"
#include "ctlFlatLabel.h"
#include "ctlGripper.h"
#include "ctlProgressBar.h"
#include "ctlStatusBar.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::Value;

// A top-level window standing in for the main window; it keeps the button presses relayed to it
// instead of starting the platform's sizing loop.
class ParentWindow {
 public:
  ParentWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = &Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"BaseCtrlTestParent";
    RegisterClassW(&cls);
    window_ = CreateWindowExW(0, L"BaseCtrlTestParent", L"parent", WS_OVERLAPPEDWINDOW, 10, 10, 420,
                              320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ParentWindow() { DestroyWindow(window_); }

  HWND get() const { return window_; }
  RECT Client() const {
    RECT r{};
    GetClientRect(window_, &r);
    return r;
  }
  int relayedPresses = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ParentWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_NCLBUTTONDOWN && wParam == HTBOTTOMRIGHT) {
      ++self->relayedPresses;
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_;
};

class Sink : public vx::ObjectImpl<vx::IEventSink> {
 public:
  vx::Status OnEvent(std::u16string_view name) noexcept override {
    events.emplace_back(name);
    return vx::Status::Ok();
  }
  std::vector<std::u16string> events;
};

HWND CreateIn(vx::IControl& control, HWND parent) {
  intptr_t window = 0;
  const vx::Status status =
      control.CreateControlWindow(reinterpret_cast<intptr_t>(parent), &window);
  EXPECT_TRUE(status.ok());
  return reinterpret_cast<HWND>(window);
}

// The window's rectangle in its parent's client coordinates.
RECT PlacedRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The number of the error a late-bound call raises, 0 for none.
int32_t ErrorNumberOf(const vx::Ref<vx::IObject>& target, std::u16string_view member,
                      std::initializer_list<Value> args) {
  return vx::testing::ErrorNumberOf([&] { vx::CallByName(target, member, args); });
}

template <class Control>
void ExpectInvisibleChild() {
  vx::Ref<Control> orphan = vx::MakeObject<Control>();
  intptr_t none = 1;
  EXPECT_EQ(orphan->CreateControlWindow(0, &none).error.number, vx::kErrInvalidCall);
  EXPECT_EQ(none, 0);
  ParentWindow parent;
  ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
  vx::Ref<Control> control = vx::MakeObject<Control>();
  const HWND window = CreateIn(*control, parent.get());
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(GetParent(window), parent.get());
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(IsWindowVisible(window));
  ShowWindow(window, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(window));
  intptr_t second = 0;
  EXPECT_EQ(
      control->CreateControlWindow(reinterpret_cast<intptr_t>(parent.get()), &second).error.number,
      vx::kErrInvalidCall);
}

TEST(BaseControls, EachWindowStartsInvisibleAsAChildOfTheGivenParentAndNeedsOne) {
  const int32_t before = vx::gLiveObjects;
  ExpectInvisibleChild<vx::basectrl::ctlStatusBar>();
  ExpectInvisibleChild<vx::basectrl::ctlGripper>();
  ExpectInvisibleChild<vx::basectrl::ctlProgressBar>();
  ExpectInvisibleChild<vx::basectrl::ctlFlatLabel>();
  EXPECT_EQ(vx::gLiveObjects, before);
}

TEST(BaseControls, TheWindowKeepsItsObjectAliveUntilItIsDestroyed) {
  ParentWindow parent;
  const int32_t before = vx::gLiveObjects;
  HWND window = nullptr;
  {
    vx::Ref<vx::basectrl::ctlFlatLabel> label = vx::MakeObject<vx::basectrl::ctlFlatLabel>();
    window = CreateIn(*label, parent.get());
    vx::CallByName(vx::Ref<vx::IObject>(label), u"Caption", {Value(u"kept")});
  }
  EXPECT_EQ(vx::gLiveObjects, before + 1);
  UpdateWindow(window);  // paints through the object the container already let go of
  DestroyWindow(window);
  EXPECT_EQ(vx::gLiveObjects, before);
}

TEST(StatusBar, KeepsItsOwnHeightAlongTheBottom) {
  ParentWindow parent;
  vx::Ref<vx::basectrl::ctlStatusBar> bar = vx::MakeObject<vx::basectrl::ctlStatusBar>();
  const HWND window = CreateIn(*bar, parent.get());
  const int expected = 21;  // at the test display's 96 dpi
  EXPECT_EQ(bar->Height(), expected);
  const RECT client = parent.Client();
  RECT placed = PlacedRect(window);
  EXPECT_EQ(placed.bottom - placed.top, expected);
  EXPECT_EQ(placed.bottom, client.bottom);
  EXPECT_EQ(placed.right, client.right);

  SetWindowPos(window, nullptr, 0, 100, 300, 50, SWP_NOZORDER);
  placed = PlacedRect(window);
  EXPECT_EQ(placed.top, 100);
  EXPECT_EQ(placed.right - placed.left, 300);
  EXPECT_EQ(placed.bottom - placed.top, expected);
}

TEST(StatusBar, AClickOnTheBarNotifiesTheSinkOnce) {
  ParentWindow parent;
  vx::Ref<vx::basectrl::ctlStatusBar> bar = vx::MakeObject<vx::basectrl::ctlStatusBar>();
  const HWND window = CreateIn(*bar, parent.get());
  ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
  ShowWindow(window, SW_SHOW);
  vx::Ref<Sink> sink = vx::MakeObject<Sink>();
  ASSERT_TRUE(bar->SetEventSink(sink.get()).ok());

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(sink->events, (std::vector<std::u16string>{u"Click"}));

  // Released outside the bar: no click.
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, -40));
  // A release without a press on the bar: no click either.
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(sink->events.size(), 1u);

  ASSERT_TRUE(bar->SetEventSink(nullptr).ok());
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(sink->events.size(), 1u);
}

TEST(StatusBar, PanelsAndSimpleTextByName) {
  vx::Ref<vx::IObject> bar(vx::MakeObject<vx::basectrl::ctlStatusBar>());
  EXPECT_EQ(vx::CallByName(bar, u"PanelCount").As<int32_t>(), 1);
  vx::CallByName(bar, u"setpaneltext", {Value(int16_t{1}), Value(u"Ready")});
  EXPECT_EQ(vx::CallByName(bar, u"PanelText", {Value(1.0)}).As<std::u16string>(), u"Ready");
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(2), Value(u"x")}), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(0), Value(u"x")}), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(1)}), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(u"1"), Value(u"x")}), vx::kErrTypeMismatch);

  vx::CallByName(bar, u"PanelCount", {Value(3)});
  vx::CallByName(bar, u"SetPanelText", {Value(3), Value(u"third")});
  EXPECT_EQ(vx::CallByName(bar, u"PanelText", {Value(1)}).As<std::u16string>(), u"Ready");
  EXPECT_EQ(ErrorNumberOf(bar, u"PanelCount", {Value(0)}), 380);
  EXPECT_EQ(ErrorNumberOf(bar, u"PanelCount", {Value(33)}), 380);
  EXPECT_EQ(vx::CallByName(bar, u"PanelCount").As<int32_t>(), 3);

  vx::CallByName(bar, u"SimpleText", {Value(u"Connecting\u2026")});
  EXPECT_EQ(vx::CallByName(bar, u"SimpleText").As<std::u16string>(), u"Connecting\u2026");
}

TEST(Gripper, StaysInTheParentsCornerWhenTheParentOrTheContainerMovesIt) {
  ParentWindow parent;
  vx::Ref<vx::basectrl::ctlGripper> grip = vx::MakeObject<vx::basectrl::ctlGripper>();
  const HWND window = CreateIn(*grip, parent.get());
  auto expectInCorner = [&](const char* when) {
    const RECT client = parent.Client();
    const RECT placed = PlacedRect(window);
    EXPECT_EQ(placed.right, client.right) << when;
    EXPECT_EQ(placed.bottom, client.bottom) << when;
  };
  expectInCorner("created");
  // The container's design placement is turned into the corner, keeping the asked size.
  SetWindowPos(window, nullptr, 616, 420, 17, 17, SWP_NOZORDER);
  expectInCorner("placed by the container");
  EXPECT_EQ(PlacedRect(window).right - PlacedRect(window).left, 17);

  SetWindowPos(parent.get(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  expectInCorner("parent enlarged");
  SetWindowPos(parent.get(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  expectInCorner("parent reduced");
}

TEST(Gripper, TwoGripsInTwoParentsEachFollowTheirOwnAndTheLastOneUnhooks) {
  ParentWindow first;
  ParentWindow second;
  vx::Ref<vx::basectrl::ctlGripper> a = vx::MakeObject<vx::basectrl::ctlGripper>();
  vx::Ref<vx::basectrl::ctlGripper> b = vx::MakeObject<vx::basectrl::ctlGripper>();
  const HWND gripA = CreateIn(*a, first.get());
  const HWND gripB = CreateIn(*b, second.get());
  DestroyWindow(gripA);
  SetWindowPos(second.get(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(PlacedRect(gripB).right, second.Client().right);
  EXPECT_EQ(PlacedRect(gripB).bottom, second.Client().bottom);
  DestroyWindow(gripB);
  // Without grips the parent's resize must not reach a destroyed one.
  SetWindowPos(second.get(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
}

TEST(Gripper, AnswersBottomRightAndHandsThePressToTheTopLevelWindow) {
  ParentWindow parent;
  ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
  vx::Ref<vx::basectrl::ctlGripper> grip = vx::MakeObject<vx::basectrl::ctlGripper>();
  const HWND window = CreateIn(*grip, parent.get());
  ShowWindow(window, SW_SHOW);
  RECT r{};
  GetWindowRect(window, &r);
  const LPARAM at = MAKELPARAM(r.left + 3, r.top + 3);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, at), HTBOTTOMRIGHT);
  SendMessageW(window, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, at);
  EXPECT_EQ(parent.relayedPresses, 1);

  ShowWindow(parent.get(), SW_MAXIMIZE);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, at), HTCLIENT);
}

TEST(ProgressBar, ValueStaysWithinMinAndMax) {
  vx::Ref<vx::basectrl::ctlProgressBar> bar = vx::MakeObject<vx::basectrl::ctlProgressBar>();
  vx::Ref<vx::IObject> object(bar);
  EXPECT_EQ(vx::CallByName(object, u"Max").As<int32_t>(), 100);
  vx::CallByName(object, u"Value", {Value(int16_t{25})});
  EXPECT_EQ(bar->FilledWidth(200), 50);
  EXPECT_EQ(ErrorNumberOf(object, u"Value", {Value(101)}), 380);
  EXPECT_EQ(ErrorNumberOf(object, u"Min", {Value(30)}), 380);  // above the value
  EXPECT_EQ(ErrorNumberOf(object, u"Max", {Value(0)}), 380);
  EXPECT_EQ(vx::CallByName(object, u"Value").As<int32_t>(), 25);
  vx::CallByName(object, u"Min", {Value(-100)});
  EXPECT_EQ(bar->FilledWidth(200), 125);
  vx::CallByName(object, u"Value", {Value(2.5)});  // rounds to even
  EXPECT_EQ(vx::CallByName(object, u"Value").As<int32_t>(), 2);
  EXPECT_EQ(ErrorNumberOf(object, u"Value", {Value(1e12)}), vx::kErrOverflow);
}

TEST(ProgressBar, FillsInProportionOverTheWholeRangeOfWholeNumbers) {
  struct Case {
    int32_t min, max, value;
    int filled;
  };
  for (const Case c :
       {Case{INT32_MIN, INT32_MAX, INT32_MIN, 0}, Case{INT32_MIN, INT32_MAX, -1, 99},
        Case{INT32_MIN, INT32_MAX, 0, 100}, Case{INT32_MIN, INT32_MAX, INT32_MAX, 200},
        Case{INT32_MIN, 0, -1, 199}, Case{-1, INT32_MAX, INT32_MAX - 1, 199}}) {
    vx::Ref<vx::basectrl::ctlProgressBar> bar = vx::MakeObject<vx::basectrl::ctlProgressBar>();
    vx::Ref<vx::IObject> object(bar);
    vx::CallByName(object, u"Min", {Value(c.min)});
    vx::CallByName(object, u"Max", {Value(c.max)});
    vx::CallByName(object, u"Value", {Value(c.value)});
    EXPECT_EQ(bar->FilledWidth(200), c.filled) << c.min << ".." << c.max << ": " << c.value;
  }
}

TEST(FlatLabel, CaptionReadsBackWhatWasWritten) {
  vx::Ref<vx::IObject> label(vx::MakeObject<vx::basectrl::ctlFlatLabel>());
  EXPECT_EQ(vx::CallByName(label, u"Caption").As<std::u16string>(), u"");
  vx::CallByName(label, u"caption", {Value(u"T\u00e9l")});
  EXPECT_EQ(vx::CallByName(label, u"Caption").As<std::u16string>(), u"T\u00e9l");
  EXPECT_EQ(ErrorNumberOf(label, u"Caption", {Value(u"a"), Value(u"b")}), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf(label, u"Caption", {Value(5)}), vx::kErrTypeMismatch);
}

}  // namespace
