#include "ctlGripper.h"

#include <vector>

#include "Paint.h"
#include "contracts/ClassNames.h"
#include "contracts/Contain.h"
#include "win32/Unique.h"

namespace vx::basectrl {
namespace {

// The grips with a window on this thread and the hook that watches their parents.
struct ParentWatch {
  std::vector<ctlGripper*> grips;
  win32::UniqueHook hook;
};
thread_local ParentWatch tWatch;

void FollowParent(HWND parent) {
  // A copy: moving a grip runs window procedures that may add or remove grips.
  const std::vector<ctlGripper*> grips = tWatch.grips;
  for (ctlGripper* grip : grips) {
    if (grip->Handle() && GetParent(grip->Handle()) == parent) grip->FollowCorner();
  }
}

LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SIZE) {
    Contain(u"ctlGripper", [&] { FollowParent(sent->hwnd); });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every new grip asks for the hook while there is none, so a refused hook is asked for again.
void Watch(ctlGripper* grip) {
  tWatch.grips.push_back(grip);
  if (!tWatch.hook) {
    tWatch.hook.reset(
        SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterWindowProc, nullptr, GetCurrentThreadId()));
  }
}

void Unwatch(ctlGripper* grip) {
  std::erase(tWatch.grips, grip);
  if (tWatch.grips.empty()) tWatch.hook.reset();
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// The top-left of a grip of `size` in the corner of parent's client area.
POINT CornerFor(HWND parent, SIZE size) {
  RECT client{};
  GetClientRect(parent, &client);
  return POINT{client.right - size.cx, client.bottom - size.cy};
}

}  // namespace

ctlGripper::ctlGripper() : ControlBase(classes::kGripper) {}

RECT ctlGripper::InitialBounds(HWND parent) {
  const SIZE size{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  const POINT corner = CornerFor(parent, size);
  return RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
}

void ctlGripper::FollowCorner() noexcept {
  // WM_WINDOWPOSCHANGING puts it in the corner; asking for any move is enough.
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool ctlGripper::TopLevelMaximised() const noexcept {
  return IsZoomed(GetAncestor(Handle(), GA_ROOT)) != FALSE;
}

LRESULT ctlGripper::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Watch(this);
      return 0;
    case WM_DESTROY:
      Unwatch(this);
      return 0;
    case WM_WINDOWPOSCHANGING:
      KeepInCorner(*reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_SIZE:
      // A new size moves the top-left so that the bottom-right stays in the corner.
      FollowCorner();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCHITTEST:
      return TopLevelMaximised() ? HTCLIENT : HTBOTTOMRIGHT;
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void ctlGripper::KeepInCorner(WINDOWPOS& pos) const {
  const HWND parent = GetParent(Handle());
  if (!parent || (pos.flags & SWP_NOMOVE)) return;
  const SIZE size = (pos.flags & SWP_NOSIZE) ? WindowSize(Handle()) : SIZE{pos.cx, pos.cy};
  const POINT corner = CornerFor(parent, size);
  pos.x = corner.x;
  pos.y = corner.y;
  pos.hwndInsertAfter = HWND_TOP;
  pos.flags &= ~SWP_NOZORDER;
}

void ctlGripper::Paint() const {
  PaintScope paint(Handle());
  RECT grip = paint.client();
  DrawFrameControl(paint.dc(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

LRESULT ctlGripper::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  // The top-level window's own sizing, not the grip's.
  if (wParam != HTBOTTOMRIGHT) return DefaultHandling(WM_NCLBUTTONDOWN, wParam, lParam);
  return SendMessageW(GetAncestor(Handle(), GA_ROOT), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, lParam);
}

}  // namespace vx::basectrl
