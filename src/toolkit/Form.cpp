#include "toolkit/Form.h"

#include <string>

#include "contracts/AsciiText.h"
#include "contracts/Contain.h"
#include "toolkit/MessageBox.h"
#include "win32/ScreenDpi.h"
#include "win32/WideText.h"

namespace vx::toolkit {
namespace {

constexpr wchar_t kFormClass[] = L"vxToolkitForm";
constexpr std::u16string_view kWhere = u"Form";

// Forms whose window exists, on the program's one window thread.
int liveForms = 0;

// Form_Activate events raised from WM_ACTIVATE on this thread; Show compares before and after.
thread_local unsigned activationEvents = 0;

int16_t ShiftState() noexcept {
  int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// rcNormalPosition of a top-level window is in workspace coordinates: the work area's origin.
POINT WorkspaceOrigin(HWND window) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return {};
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// Restores a flag on every way out of a close sequence.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) noexcept : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

Form::Form() = default;

Form::~Form() {
  // No event may reach a form that is being destroyed: cut the window loose first.
  if (const HWND window = ReleaseWindow()) {
    controls_.RemoveAll();
    controls_.AttachTo(nullptr);
    --liveForms;
    DestroyWindow(window);
  }
}

HINSTANCE Form::InstanceHandle() noexcept {
  return GetModuleHandleW(nullptr);
}

void Form::Load(Here here) {
  if (loadStarted_) return;
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.hIcon = LoadIconW(InstanceHandle(), MAKEINTRESOURCEW(1));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    return RegisterBoundClass(windowClass);
  }();
  if (!registered) Raise(kErrAppDefined, {}, u"The form's window class cannot be registered", here);

  constexpr Placement kDefaultPlace{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  const HWND window =
      CreateBoundWindow(0, kFormClass, win32::W(caption_), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        kDefaultPlace, nullptr);
  if (!window) Raise(kErrAppDefined, {}, u"The form's window cannot be created", here);
  loadStarted_ = true;
  Form_Load();
}

void Form::Show() {
  if (!Handle()) return;
  if (!shownOnce_) {
    shownOnce_ = true;
    // Once before the first show whatever the size: resizes during Form_Load may have come
    // before the form was ready to lay itself out.
    RunEvent([this] {
      lastClientSize_ = {-1, -1};
      RaiseResizeIfChanged();
    });
    if (!Handle()) return;
  }
  // A window that became active while still hidden (SetWindowPos during Form_Load activates it
  // under Wine) gets no WM_ACTIVATE when shown: the show raises Form_Activate itself.
  const bool activeBeforeShow = GetActiveWindow() == Handle();
  const unsigned activationsBefore = activationEvents;
  int command = SW_SHOW;
  if (pendingState_ == 1) {
    command = SW_SHOWMINIMIZED;
  } else if (pendingState_ == 2) {
    command = SW_SHOWMAXIMIZED;
  } else if (IsIconic(Handle()) || IsZoomed(Handle())) {
    command = SW_SHOWNORMAL;
  }
  ShowWindow(Handle(), command);
  if (Handle() && pendingState_ != 1) SetForegroundWindow(Handle());
  if (Handle() && activeBeforeShow && activationEvents == activationsBefore &&
      GetActiveWindow() == Handle()) {
    RunEvent([this] { Form_Activate(); });
  }
}

void Form::Unload() {
  if (!Handle() || closing_) return;
  RunClose(1);
}

bool Form::RunClose(int16_t reason) {
  FlagScope closing(closing_);
  int16_t cancel = 0;
  Form_QueryUnload(cancel, reason);
  if (cancel != 0) return false;
  return UnloadAfterQuery(true);
}

bool Form::UnloadAfterQuery(bool mayCancel) {
  if (!Handle()) return true;
  int16_t cancel = 0;
  Form_Unload(cancel);
  if (mayCancel && cancel != 0) return false;
  if (Handle()) DestroyWindow(Handle());
  return true;
}

void Form::OnWindowBound() noexcept {
  controls_.AttachTo(Handle());
  ++liveForms;
}

LRESULT Form::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_ACTIVATE:
      return OnActivate(wParam, lParam);
    case WM_SIZE:
      return OnSize(wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(message, wParam, lParam);
    case WM_CLOSE:
      if (!closing_) RunEvent([this] { RunClose(0); });
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      if (wParam && !closing_) RunEvent([this] { EndSession(); });
      return 0;
    case WM_DESTROY:
      controls_.RemoveAll();
      break;
    default:
      break;
  }
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT Form::OnActivate(WPARAM wParam, LPARAM lParam) noexcept {
  const LRESULT result = DefWindowProcW(Handle(), WM_ACTIVATE, wParam, lParam);
  // The activation that closing an error box brings is no new activation: raising the failed
  // event again would show the box again, without end.
  if (LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(Handle()) && !reportingError_) {
    ++activationEvents;
    RunEvent([this] { Form_Activate(); });
  }
  return result;
}

LRESULT Form::OnSize(WPARAM wParam, LPARAM lParam) noexcept {
  const LRESULT result = DefWindowProcW(Handle(), WM_SIZE, wParam, lParam);
  if (loadStarted_) RunEvent([this] { RaiseResizeIfChanged(); });
  return result;
}

LRESULT Form::OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto keyCode = static_cast<int16_t>(wParam);
  RunEvent([this, keyCode] { Form_KeyDown(keyCode, ShiftState()); });
  if (!Handle()) return 0;
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT Form::OnQueryEndSession() noexcept {
  bool allowed = true;
  RunEvent([this, &allowed] {
    FlagScope closing(closing_);
    int16_t cancel = 0;
    Form_QueryUnload(cancel, 2);
    allowed = cancel == 0;
  });
  return allowed ? TRUE : FALSE;
}

void Form::EndSession() {
  FlagScope closing(closing_);
  UnloadAfterQuery(false);
}

void Form::OnWindowUnbound() noexcept {
  controls_.AttachTo(nullptr);
  // The last form gone ends the program's message loop, however its window went.
  if (--liveForms == 0) PostQuitMessage(0);
}

template <class Handler>
void Form::RunEvent(Handler&& handler) noexcept {
  Contain(kWhere, std::forward<Handler>(handler),
          [this](std::u16string_view, const ErrorInfo& error) noexcept { ShowEventError(error); });
}

void Form::ShowEventError(const ErrorInfo& error) noexcept {
  // A report that cannot be built goes to the debugger; the window goes on regardless.
  Contain(kWhere, [&] {
    const std::u16string text = u"Error " + DecimalText(error.number) + u": " + error.description +
                                u"\r\n\r\nSource: " + error.source;
    std::u16string caption = Caption();
    if (caption.empty()) caption = kProgramName;
    FlagScope reporting(reportingError_);
    ShowMessageBox(Handle(), text, caption, MB_ICONSTOP | MB_OK);
  });
}

bool Form::PreviewKeyMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || root == msg.hwnd) return false;  // The form's own keys come through its procedure.
  Form* form = FromWindow(root);
  if (!form || !form->keyPreview_) return false;
  const auto keyCode = static_cast<int16_t>(msg.wParam);
  form->RunEvent([form, keyCode] { form->Form_KeyDown(keyCode, ShiftState()); });
  return true;
}

void Form::RaiseResizeIfChanged() {
  RECT client{};
  GetClientRect(Handle(), &client);
  if (client.right == lastClientSize_.cx && client.bottom == lastClientSize_.cy) return;
  lastClientSize_ = {client.right, client.bottom};
  Form_Resize();
}

HWND Form::Window(Here here) const {
  if (!Handle()) Raise(kErrObjectNotSet, {}, {}, here);
  return Handle();
}

std::u16string Form::Caption() const {
  if (!Handle()) return caption_;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
  return win32::FromWide(text);
}

void Form::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  if (Handle()) SetWindowTextW(Handle(), win32::W(caption_));
}

RECT Form::PixelBounds(Here here) const {
  HWND window = Window(here);
  RECT bounds{};
  if (!IsIconic(window) && !IsZoomed(window)) {
    GetWindowRect(window, &bounds);
    return bounds;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkspaceOrigin(window);
  bounds = placement.rcNormalPosition;
  OffsetRect(&bounds, origin.x, origin.y);
  return bounds;
}

void Form::PlacePixels(const RECT& pixels, Here here) {
  HWND window = Window(here);
  if (!IsIconic(window) && !IsZoomed(window)) {
    SetWindowPos(window, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                 pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkspaceOrigin(window);
  placement.rcNormalPosition = pixels;
  OffsetRect(&placement.rcNormalPosition, -origin.x, -origin.y);
  // Keep the window as it is: only the bounds it returns to change.
  placement.showCmd = IsWindowVisible(window)
                          ? (IsIconic(window) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED)
                          : SW_HIDE;
  SetWindowPlacement(window, &placement);
}

int16_t Form::WindowState(Here here) const {
  HWND window = Window(here);
  if (!IsWindowVisible(window)) return pendingState_;
  if (IsIconic(window)) return 1;
  if (IsZoomed(window)) return 2;
  return 0;
}

void Form::SetWindowState(int16_t state, Here here) {
  HWND window = Window(here);
  if (state < 0 || state > 2) Raise(kErrInvalidCall, {}, {}, here);
  if (!IsWindowVisible(window)) {
    pendingState_ = state;
    return;
  }
  if (state == 1) {
    ShowWindow(window, SW_MINIMIZE);
  } else if (state == 2) {
    ShowWindow(window, SW_MAXIMIZE);
  } else {
    // A window minimised from maximised restores to maximised first: restore until normal.
    for (int step = 0; step < 2 && (IsIconic(window) || IsZoomed(window)); ++step) {
      ShowWindow(window, SW_RESTORE);
    }
  }
}

float Form::ScaleWidth(Here here) const {
  RECT client{};
  GetClientRect(Window(here), &client);
  return static_cast<float>(client.right) * win32::TwipsPerPixelX();
}

float Form::ScaleHeight(Here here) const {
  RECT client{};
  GetClientRect(Window(here), &client);
  return static_cast<float>(client.bottom) * win32::TwipsPerPixelY();
}

bool Form::Visible(Here here) const {
  return IsWindowVisible(Window(here)) != FALSE;
}

void Form::SetVisible(bool visible, Here here) {
  HWND window = Window(here);
  if (visible) {
    Show();
    return;
  }
  if (!IsWindowVisible(window)) return;
  pendingState_ = WindowState(here);
  ShowWindow(window, SW_HIDE);
}

bool Form::Enabled(Here here) const {
  return IsWindowEnabled(Window(here)) != FALSE;
}

void Form::SetEnabled(bool enabled, Here here) {
  EnableWindow(Window(here), enabled);
}

DeviceContext Form::GetDeviceContext(Here here) const {
  return win32::TakeDc(Window(here), here);
}

void Form::Refresh(Here here) {
  RedrawWindow(Window(here), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace vx::toolkit
