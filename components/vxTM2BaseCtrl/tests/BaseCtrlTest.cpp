// The base controls in real windows under a stand-in main window, and their library through its
// entry points as the component runtime uses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "contracts/CallByName.h"
#include "contracts/Component.h"
#include "contracts/IControl.h"
#include "ctlFlatLabel.h"
#include "ctlGripper.h"
#include "ctlProgressBar.h"
#include "ctlStatusBar.h"
#include "testing/ErrorNumberOf.h"
#include "testing/Windows.h"

namespace {

using vx::Value;
using namespace vx::basectrl;
using vx::testing::Rect;

int gRelayedPresses = 0;

// A top-level window standing in for the main window; it counts the button presses relayed to it
// instead of starting the platform's sizing loop.
struct ParentWindow {
  ParentWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_NCLBUTTONDOWN && wParam == HTBOTTOMRIGHT) return ++gRelayedPresses, 0;
      return DefWindowProcW(window, message, wParam, lParam);
    };
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"BaseCtrlTestParent";
    RegisterClassW(&cls);
    window = CreateWindowExW(0, cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                             420, 320, nullptr, nullptr, cls.hInstance, nullptr);
  }
  ~ParentWindow() { DestroyWindow(window); }
  Rect Client() const { return vx::testing::ClientRect(window); }
  HWND window;
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

Rect Placed(HWND window) {
  return vx::testing::WindowRect(window, true);
}

int32_t ErrorNumberOf(const vx::Ref<vx::IObject>& target, std::u16string_view member,
                      std::initializer_list<Value> args) {
  return vx::testing::ErrorNumberOf([&] { vx::CallByName(target, member, args); });
}

TEST(StatusBar, KeepsItsOwnHeightAlongTheBottomAndAPressReleasedOnItIsOneClick) {
  ParentWindow parent;
  vx::Ref<ctlStatusBar> bar = vx::MakeObject<ctlStatusBar>();
  const HWND window = CreateIn(*bar, parent.window);
  EXPECT_EQ(bar->Height(), 21);  // at the test display's 96 dpi
  const Rect client = parent.Client();
  EXPECT_EQ(Placed(window), (Rect{0, client[3] - 21, client[2], client[3]}));
  SetWindowPos(window, nullptr, 0, 100, 300, 50, SWP_NOZORDER);
  EXPECT_EQ(Placed(window), (Rect{0, 100, 300, 121}));

  vx::Ref<Sink> sink = vx::MakeObject<Sink>();
  ASSERT_TRUE(bar->SetEventSink(sink.get()).ok());
  const auto send = [&](UINT msg, int y) { SendMessageW(window, msg, 0, MAKELPARAM(5, y)); };
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
  gRelayedPresses = 0;
  const HWND gripA = CreateIn(*vx::MakeObject<ctlGripper>(), first.window);
  const HWND grip = CreateIn(*vx::MakeObject<ctlGripper>(), second.window);
  const auto corner = [&] { return std::array{Placed(grip)[2], Placed(grip)[3]}; };
  const auto clientCorner = [&] { return std::array{second.Client()[2], second.Client()[3]}; };
  EXPECT_EQ(corner(), clientCorner());
  // The container's placement is turned into the corner, keeping the asked size.
  SetWindowPos(grip, nullptr, 16, 20, 17, 17, SWP_NOZORDER);
  EXPECT_EQ(corner(), clientCorner());
  EXPECT_EQ(Placed(grip)[2] - Placed(grip)[0], 17);
  DestroyWindow(gripA);
  for (const int width : {700, 300}) {
    SetWindowPos(second.window, nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(corner(), clientCorner()) << width;
  }

  ShowWindow(grip, SW_SHOW);
  const Rect onScreen = vx::testing::WindowRect(grip);
  const LPARAM at = MAKELPARAM(onScreen[0] + 3, onScreen[1] + 3);
  EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTBOTTOMRIGHT);
  SendMessageW(grip, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, at);
  EXPECT_EQ(gRelayedPresses, 1);
  ShowWindow(second.window, SW_MAXIMIZE);
  EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, at), HTCLIENT);
  DestroyWindow(grip);
  // Without grips the parent's resize reaches no destroyed one, and a new grip follows again.
  ShowWindow(second.window, SW_RESTORE);
  SetWindowPos(second.window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  const HWND again = CreateIn(*vx::MakeObject<ctlGripper>(), second.window);
  SetWindowPos(second.window, nullptr, 0, 0, 450, 350, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ((std::array{Placed(again)[2], Placed(again)[3]}), clientCorner());
}

TEST(ProgressBar, ValueStaysWithinMinAndMaxAndFillsInProportionOverTheWholeRangeOfWholeNumbers) {
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
  for (const auto& [written, read] : {std::pair{2.5, 2}, std::pair{3.5, 4}}) {  // ties to even
    vx::CallByName(object, u"Value", {Value(written)});
    EXPECT_EQ(vx::CallByName(object, u"Value").As<int32_t>(), read);
  }
  EXPECT_EQ(ErrorNumberOf(object, u"Value", {Value(1e12)}), vx::kErrOverflow);
  using Case = std::tuple<int32_t, int32_t, int32_t, int>;  // min, max, value, filled width
  for (const auto& [min, max, value, filled] :
       {Case{INT32_MIN, INT32_MAX, INT32_MIN, 0}, Case{INT32_MIN, INT32_MAX, -1, 99},
        Case{INT32_MIN, INT32_MAX, 0, 100}, Case{INT32_MIN, INT32_MAX, INT32_MAX, 200},
        Case{INT32_MIN, 0, -1, 199}, Case{-1, INT32_MAX, INT32_MAX - 1, 199}}) {
    const vx::Ref<ctlProgressBar> fresh = vx::MakeObject<ctlProgressBar>();
    for (const auto& [member, set] : {std::pair{u"Min", min}, {u"Max", max}, {u"Value", value}})
      vx::CallByName(fresh->AsObject(), member, {Value(set)});
    EXPECT_EQ(fresh->FilledWidth(200), filled) << min << ".." << max << ": " << value;
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

TEST(BaseCtrlLibrary, MakesEachControlByClassNameInAnyCaseAsAHiddenChildWindowThatHoldsIt) {
  const HMODULE module = LoadLibraryW(L"vxTM2BaseCtrl.dll");
  ASSERT_TRUE(module);
  const auto create = reinterpret_cast<vx::CreateObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module, vx::kCreateObjectExport)));
  const auto live = reinterpret_cast<vx::LiveObjectsFn>(
      reinterpret_cast<void*>(GetProcAddress(module, vx::kLiveObjectsExport)));
  ASSERT_TRUE(create && live);
  ParentWindow parent;
  for (const std::u16string_view name :
       {u"ctlStatusBar", u"ctlGripper", u"ctlProgressBar", u"ctlFlatLabel", u"CTLSTATUSBAR"}) {
    vx::IObject* object = nullptr;
    vx::Status status;
    create(name, &object, &status);
    ASSERT_TRUE(status.ok() && object) << std::string(name.begin(), name.end());
    void* asControl = nullptr;
    EXPECT_TRUE(object->QueryInterface(vx::IControl::kIid, &asControl).ok());
    object->Release();
    EXPECT_EQ(live(), 1);
    // The window is made once, hidden, as a child of the given parent, and holds its object until
    // it is destroyed.
    vx::IControl& control = *static_cast<vx::IControl*>(asControl);
    intptr_t none = 1;
    EXPECT_EQ(control.CreateControlWindow(0, &none).error.number, vx::kErrInvalidCall);
    const HWND created = CreateIn(control, parent.window);
    EXPECT_EQ(
        control.CreateControlWindow(reinterpret_cast<intptr_t>(parent.window), &none).error.number,
        vx::kErrInvalidCall);
    EXPECT_EQ(none, 0);
    control.Release();
    EXPECT_EQ(GetParent(created), parent.window);
    EXPECT_EQ(GetWindowLongW(created, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD);
    EXPECT_EQ(live(), 1);
    ShowWindow(created, SW_SHOW);
    UpdateWindow(created);  // paints through the object the caller let go of
    EXPECT_FALSE(GetUpdateRect(created, nullptr, FALSE));
    DestroyWindow(created);
    EXPECT_EQ(live(), 0);
  }
  for (const std::u16string_view name : {u"ctlFieldSelector", u"ctlMultiField", u"ctlRadioFrame",
                                         u"ctlInfotext", u"ctlComboSelector", u"ctlNoSuchThing"}) {
    vx::IObject* object = reinterpret_cast<vx::IObject*>(1);
    vx::Status status;
    create(name, &object, &status);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(status.error.number, vx::kErrCannotCreate);
    EXPECT_EQ(status.error.source, u"vxTM2BaseCtrl");
    EXPECT_NE(status.error.description.find(u"vxTM2BaseCtrl." + std::u16string(name)),
              std::u16string::npos)
        << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(live(), 0);
  FreeLibrary(module);
}

}  // namespace
