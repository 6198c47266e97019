// The base controls in real windows under a stand-in main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
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
using namespace vx::basectrl;
using Rect = std::array<LONG, 4>;  // left, top, right, bottom

int gRelayedPresses = 0;

// A top-level window standing in for the main window; it counts the button presses relayed to it
// instead of starting the platform's sizing loop.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NCLBUTTONDOWN || wParam != HTBOTTOMRIGHT) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  ++gRelayedPresses;
  return 0;
}

class ParentWindow {
 public:
  ParentWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = &ParentProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"BaseCtrlTestParent";
    RegisterClassW(&cls);
    window_ = CreateWindowExW(0, cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              420, 320, nullptr, nullptr, cls.hInstance, nullptr);
  }
  ~ParentWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }
  Rect Client() const {
    RECT r{};
    GetClientRect(window_, &r);
    return {r.left, r.top, r.right, r.bottom};
  }

 private:
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
  EXPECT_TRUE(control.CreateControlWindow(reinterpret_cast<intptr_t>(parent), &window).ok());
  return reinterpret_cast<HWND>(window);
}

// The window's rectangle in its parent's client coordinates.
Rect Placed(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

int32_t ErrorNumberOf(const vx::Ref<vx::IObject>& target, std::u16string_view member,
                      std::initializer_list<Value> args) {
  return vx::testing::ErrorNumberOf([&] { vx::CallByName(target, member, args); });
}

// The window is made once, hidden, as a child of a given parent, and holds its object until it
// is destroyed.
template <class Control>
void ExpectOneChildWindowThatHoldsItsObject(HWND parent) {
  const int32_t before = vx::gLiveObjects;
  HWND created = nullptr;
  {
    vx::Ref<Control> control = vx::MakeObject<Control>();
    intptr_t none = 1;
    EXPECT_EQ(control->CreateControlWindow(0, &none).error.number, vx::kErrInvalidCall);
    created = CreateIn(*control, parent);
    EXPECT_EQ(control->CreateControlWindow(reinterpret_cast<intptr_t>(parent), &none).error.number,
              vx::kErrInvalidCall);
    EXPECT_EQ(none, 0);
  }
  EXPECT_EQ(GetParent(created), parent);
  EXPECT_EQ(GetWindowLongW(created, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD);
  EXPECT_EQ(vx::gLiveObjects, before + 1);
  ShowWindow(created, SW_SHOW);
  UpdateWindow(created);  // paints through the object the caller let go of
  DestroyWindow(created);
  EXPECT_EQ(vx::gLiveObjects, before);
}

TEST(BaseControls, EachMakesOneHiddenChildWindowThatHoldsItsObject) {
  ParentWindow parent;
  ExpectOneChildWindowThatHoldsItsObject<ctlStatusBar>(parent.get());
  ExpectOneChildWindowThatHoldsItsObject<ctlGripper>(parent.get());
  ExpectOneChildWindowThatHoldsItsObject<ctlProgressBar>(parent.get());
  ExpectOneChildWindowThatHoldsItsObject<ctlFlatLabel>(parent.get());
}

TEST(StatusBar, KeepsItsOwnHeightAlongTheBottomAndAPressReleasedOnItIsOneClick) {
  ParentWindow parent;
  vx::Ref<ctlStatusBar> bar = vx::MakeObject<ctlStatusBar>();
  const HWND window = CreateIn(*bar, parent.get());
  EXPECT_EQ(bar->Height(), 21);  // at the test display's 96 dpi
  const Rect client = parent.Client();
  EXPECT_EQ(Placed(window), (Rect{0, client[3] - 21, client[2], client[3]}));
  SetWindowPos(window, nullptr, 0, 100, 300, 50, SWP_NOZORDER);
  EXPECT_EQ(Placed(window), (Rect{0, 100, 300, 121}));

  vx::Ref<Sink> sink = vx::MakeObject<Sink>();
  ASSERT_TRUE(bar->SetEventSink(sink.get()).ok());
  const auto send = [&](UINT message, int y) {
    SendMessageW(window, message, 0, MAKELPARAM(5, y));
  };
  send(WM_LBUTTONDOWN, 5);
  send(WM_LBUTTONUP, 5);
  send(WM_LBUTTONDOWN, 5);
  send(WM_LBUTTONUP, -40);  // released outside
  send(WM_LBUTTONUP, 5);    // released without a press
  ASSERT_TRUE(bar->SetEventSink(nullptr).ok());
  send(WM_LBUTTONDOWN, 5);
  send(WM_LBUTTONUP, 5);
  EXPECT_EQ(sink->events, (std::vector<std::u16string>{u"Click"}));
}

TEST(StatusBar, PanelsCountFromOneAndSimpleTextIsKept) {
  vx::Ref<vx::IObject> bar(vx::MakeObject<ctlStatusBar>());
  EXPECT_EQ(vx::CallByName(bar, u"PanelCount").As<int32_t>(), 1);
  vx::CallByName(bar, u"setpaneltext", {Value(int16_t{1}), Value(u"Ready")});
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(2), Value(u"x")}), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(0), Value(u"x")}), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(1)}), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf(bar, u"SetPanelText", {Value(u"1"), Value(u"x")}), vx::kErrTypeMismatch);
  EXPECT_EQ(ErrorNumberOf(bar, u"PanelCount", {Value(0)}), 380);
  EXPECT_EQ(ErrorNumberOf(bar, u"PanelCount", {Value(33)}), 380);
  vx::CallByName(bar, u"PanelCount", {Value(32)});
  vx::CallByName(bar, u"PanelCount", {Value(3)});
  vx::CallByName(bar, u"SetPanelText", {Value(3), Value(u"third")});
  EXPECT_EQ(vx::CallByName(bar, u"PanelText", {Value(1.0)}).As<std::u16string>(), u"Ready");
  EXPECT_EQ(vx::CallByName(bar, u"PanelText", {Value(3)}).As<std::u16string>(), u"third");
  EXPECT_EQ(vx::CallByName(bar, u"PanelCount").As<int32_t>(), 3);
  vx::CallByName(bar, u"SimpleText", {Value(u"Connecting\u2026")});
  EXPECT_EQ(vx::CallByName(bar, u"SimpleText").As<std::u16string>(), u"Connecting\u2026");
}

TEST(Gripper, StaysInItsOwnParentsCornerAndHandsThePressToTheTopLevelWindow) {
  ParentWindow first, second;
  vx::Ref<ctlGripper> a = vx::MakeObject<ctlGripper>();
  vx::Ref<ctlGripper> b = vx::MakeObject<ctlGripper>();
  const HWND gripA = CreateIn(*a, first.get());
  const HWND grip = CreateIn(*b, second.get());
  const auto corner = [&] { return std::array{Placed(grip)[2], Placed(grip)[3]}; };
  const auto clientCorner = [&] { return std::array{second.Client()[2], second.Client()[3]}; };
  EXPECT_EQ(corner(), clientCorner());
  // The container's placement is turned into the corner, keeping the asked size.
  SetWindowPos(grip, nullptr, 16, 20, 17, 17, SWP_NOZORDER);
  EXPECT_EQ(corner(), clientCorner());
  EXPECT_EQ(Placed(grip)[2] - Placed(grip)[0], 17);
  DestroyWindow(gripA);
  for (const int width : {700, 300}) {
    SetWindowPos(second.get(), nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(corner(), clientCorner()) << width;
  }

  ShowWindow(grip, SW_SHOW);
  RECT r{};
  GetWindowRect(grip, &r);
  const LPARAM at = MAKELPARAM(r.left + 3, r.top + 3);
  EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTBOTTOMRIGHT);
  SendMessageW(grip, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, at);
  EXPECT_EQ(gRelayedPresses, 1);
  ShowWindow(second.get(), SW_MAXIMIZE);
  EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTCLIENT);
  DestroyWindow(grip);
  // Without grips the parent's resize must not reach a destroyed one.
  SetWindowPos(second.get(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
}

TEST(ProgressBar, ValueStaysWithinMinAndMax) {
  vx::Ref<ctlProgressBar> bar = vx::MakeObject<ctlProgressBar>();
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
    vx::Ref<ctlProgressBar> bar = vx::MakeObject<ctlProgressBar>();
    vx::Ref<vx::IObject> object(bar);
    vx::CallByName(object, u"Min", {Value(c.min)});
    vx::CallByName(object, u"Max", {Value(c.max)});
    vx::CallByName(object, u"Value", {Value(c.value)});
    EXPECT_EQ(bar->FilledWidth(200), c.filled) << c.min << ".." << c.max << ": " << c.value;
  }
}

TEST(FlatLabel, CaptionReadsBackWhatWasWritten) {
  vx::Ref<vx::IObject> label(vx::MakeObject<ctlFlatLabel>());
  EXPECT_EQ(vx::CallByName(label, u"Caption").As<std::u16string>(), u"");
  vx::CallByName(label, u"caption", {Value(u"T\u00e9l")});
  EXPECT_EQ(vx::CallByName(label, u"Caption").As<std::u16string>(), u"T\u00e9l");
  EXPECT_EQ(ErrorNumberOf(label, u"Caption", {Value(u"a"), Value(u"b")}), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf(label, u"Caption", {Value(5)}), vx::kErrTypeMismatch);
}

}  // namespace
