#include "testcore/WindowActions.h"

#include <string>

#include "testcore/Recorder.h"

namespace vx::testcore {
namespace {

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::string WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return Rect(rect);
}

std::u16string ClassOf(HWND window) {
  wchar_t name[256] = {};
  if (window) GetClassNameW(window, name, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(name));
}

std::u16string TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return std::u16string(text.begin(), text.end());
}

const char* MenuItemState(UINT state) {
  if (state == static_cast<UINT>(-1)) return "absent";
  return (state & (MF_GRAYED | MF_DISABLED)) ? "grayed" : "enabled";
}

std::string Hex(uint32_t value) {
  char buffer[16];
  snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

std::string SystemMenuFields(HWND main) {
  const HMENU menu = GetSystemMenu(main, FALSE);
  const int count = menu ? GetMenuItemCount(menu) : 0;
  if (count <= 0) return "sysLast=absent sysLastId=0x0 sysClose=absent";
  const UINT lastState = GetMenuState(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
  const UINT lastId = GetMenuItemID(menu, count - 1);
  const UINT closeState = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  return std::string("sysLast=") + MenuItemState(lastState) + " sysLastId=" + Hex(lastId) +
         " sysClose=" + MenuItemState(closeState);
}

std::string MinTrackSize(HWND main) {
  MINMAXINFO info{};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return std::to_string(info.ptMinTrackSize.x) + "," + std::to_string(info.ptMinTrackSize.y);
}

const char* StateOf(HWND main) {
  if (IsIconic(main)) return "minimized";
  if (IsZoomed(main)) return "maximized";
  return "normal";
}

void RecordChildren(HWND main) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    RecordLine("Window.Child " + Quoted(ClassOf(child)) + " rect=" + Rect(rect) +
               " visible=" + (IsWindowVisible(child) ? "1" : "0"));
  }
}

HWND MakeOtherWindow() {
  static const wchar_t kClass[] = L"vxTestCoreOtherWindow";
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = kClass;
  RegisterClassW(&cls);  // fails harmlessly when already registered
  return CreateWindowExW(0, kClass, L"other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 120, 80, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The first direct child whose window class begins with prefix.
HWND ChildOfClass(HWND main, std::u16string_view prefix) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child).rfind(prefix, 0) == 0) return child;
  }
  return nullptr;
}

void BringToFront(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

}  // namespace

void RecordWindow(HWND main, std::u16string_view label) {
  RECT client{};
  GetClientRect(main, &client);
  RecordLine("Window.Record " + Quoted(label) + " rect=" + WindowRect(main) +
             " client=" + std::to_string(client.right) + "," + std::to_string(client.bottom) +
             " caption=" + Quoted(TextOf(main)) + " state=" + StateOf(main) + " " +
             SystemMenuFields(main) + " minTrack=" + MinTrackSize(main) + " active=" +
             (GetActiveWindow() == main ? "1" : "0") + " focus=" + Quoted(ClassOf(GetFocus())));
  RecordChildren(main);
}

void TrySize(HWND main, int width, int height) {
  SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RecordLine("Window.TrySize " + std::to_string(width) + " " + std::to_string(height) +
             " rect=" + WindowRect(main));
}

void MoveTo(HWND main, int x, int y) {
  SetWindowPos(main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RecordLine("Window.Move " + std::to_string(x) + " " + std::to_string(y) +
             " rect=" + WindowRect(main));
}

bool ShowInState(HWND main, std::u16string_view state) {
  int command = 0;
  if (state == u"normal") {
    command = SW_RESTORE;
  } else if (state == u"minimized") {
    command = SW_MINIMIZE;
  } else if (state == u"maximized") {
    command = SW_MAXIMIZE;
  } else {
    return false;
  }
  ShowWindow(main, command);
  return true;
}

void Reactivate(HWND main, int times) {
  const HWND other = MakeOtherWindow();
  for (int i = 0; i < times; ++i) {
    BringToFront(other);
    BringToFront(main);
  }
  if (other) DestroyWindow(other);
  BringToFront(main);
  RecordLine("Window.Reactivate " + std::to_string(times) +
             " active=" + (GetActiveWindow() == main ? "1" : "0"));
}

bool DeliverMessage(HWND main, std::u16string_view name, bool send) {
  UINT message = 0;
  WPARAM wParam = 0;
  if (name == u"WM_CLOSE") {
    message = WM_CLOSE;
  } else if (name == u"SC_CLOSE") {
    message = WM_SYSCOMMAND;
    wParam = SC_CLOSE;
  } else if (name == u"WM_QUERYENDSESSION") {
    message = WM_QUERYENDSESSION;
  } else if (name == u"WM_ENDSESSION") {
    message = WM_ENDSESSION;
    wParam = TRUE;
  } else {
    return false;
  }
  std::string text(name.begin(), name.end());
  if (send) {
    const LRESULT result = SendMessageW(main, message, wParam, 0);
    RecordLine("Window.Send " + text + " -> " + std::to_string(result));
  } else {
    PostMessageW(main, message, wParam, 0);
    RecordLine("Window.Post " + text);
  }
  return true;
}

UINT VirtualKeyNamed(std::u16string_view name) {
  if (name.size() >= 2 && name.size() <= 3 && name[0] == u'F') {
    unsigned n = 0;
    for (const char16_t c : name.substr(1)) {
      if (c < u'0' || c > u'9') return 0;
      n = n * 10 + (c - u'0');
    }
    return n >= 1 && n <= 12 ? VK_F1 + n - 1 : 0;
  }
  unsigned vk = 0;
  for (const char16_t c : name) {
    if (c < u'0' || c > u'9' || vk > 255) return 0;
    vk = vk * 10 + (c - u'0');
  }
  return vk <= 255 ? vk : 0;
}

void SendKey(UINT vk, bool shift) {
  INPUT inputs[4] = {};
  UINT count = 0;
  auto key = [&](UINT code, bool up) {
    INPUT& in = inputs[count++];
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(code);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  };
  if (shift) key(VK_SHIFT, false);
  key(vk, false);
  key(vk, true);
  if (shift) key(VK_SHIFT, true);
  const UINT sent = SendInput(count, inputs, sizeof(INPUT));
  RecordLine("Window.Key " + std::to_string(vk) + (shift ? " shift" : "") +
             " sent=" + std::to_string(sent));
}

void PostKey(HWND main, UINT vk, bool toScreen) {
  HWND target = toScreen ? ChildOfClass(main, u"vxTM2Core.") : GetFocus();
  if (!target) target = main;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
  PostMessageW(target, WM_KEYUP, vk, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
  RecordLine("Window.PostKey " + std::to_string(vk) + " to=" + Quoted(ClassOf(target)));
}

bool ClickChild(HWND main, std::u16string_view which) {
  HWND child = nullptr;
  if (which == u"statusbar") child = ChildOfClass(main, u"vxTM2BaseCtrl.ctlStatusBar");
  if (which == u"screen") child = ChildOfClass(main, u"vxTM2Core.");
  if (!child) return false;
  RECT client{};
  GetClientRect(child, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(child, WM_LBUTTONUP, 0, at);
  RecordLine("Window.Click " + Quoted(ClassOf(child)) + " focus=" + Quoted(ClassOf(GetFocus())));
  return true;
}

}  // namespace vx::testcore
