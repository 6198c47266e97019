#include "ctlGripper.h"

#include <algorithm>
#include <vector>

#include "Paint.h"

namespace vx::basectrl {
namespace {

// The grips with a window on this thread and the hook that watches their parents.
struct ParentWatch {
  std::vector<ctlGripper*> grips;
  HHOOK hook = nullptr;
};
thread_local ParentWatch tWatch;

LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (sent->message == WM_SIZE) {
      // A copy: moving a grip runs window procedures that may add or remove grips.
      const std::vector<ctlGripper*> grips = tWatch.grips;
      for (ctlGripper* grip : grips) {
        if (grip->Window() && GetParent(grip->Window()) == sent->hwnd) grip->FollowCorner();
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Watch(ctlGripper* grip) {
  if (tWatch.grips.empty()) {
    tWatch.hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterWindowProc, nullptr, GetCurrentThreadId());
  }
  tWatch.grips.push_back(grip);
}

void Unwatch(ctlGripper* grip) {
  auto& grips = tWatch.grips;
  grips.erase(std::remove(grips.begin(), grips.end(), grip), grips.end());
  if (grips.empty() && tWatch.hook) {
    UnhookWindowsHookEx(tWatch.hook);
    tWatch.hook = nullptr;
  }
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

ctlGripper::ctlGripper() : ControlBase(u"vxTM2BaseCtrl.ctlGripper") {}

RECT ctlGripper::InitialBounds(HWND parent) {
  const SIZE size{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  const POINT corner = CornerFor(parent, size);
  return RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
}

void ctlGripper::FollowCorner() noexcept {
  // WM_WINDOWPOSCHANGING puts it in the corner; asking for any move is enough.
  SetWindowPos(Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool ctlGripper::TopLevelMaximised() const noexcept {
  return IsZoomed(GetAncestor(Window(), GA_ROOT)) != FALSE;
}

LRESULT ctlGripper::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Watch(this);
      return 0;
    case WM_DESTROY:
      Unwatch(this);
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      const HWND parent = GetParent(Window());
      if (parent && !(pos->flags & SWP_NOMOVE)) {
        const SIZE size = (pos->flags & SWP_NOSIZE) ? WindowSize(Window()) : SIZE{pos->cx, pos->cy};
        const POINT corner = CornerFor(parent, size);
        pos->x = corner.x;
        pos->y = corner.y;
        pos->hwndInsertAfter = HWND_TOP;
        pos->flags &= ~SWP_NOZORDER;
      }
      return 0;
    }
    case WM_SIZE:
      // A new size moves the top-left so that the bottom-right stays in the corner.
      FollowCorner();
      return 0;
    case WM_PAINT: {
      PaintScope paint(Window());
      RECT grip = paint.client();
      DrawFrameControl(paint.dc(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
      return 0;
    }
    case WM_NCHITTEST:
      return TopLevelMaximised() ? HTCLIENT : HTBOTTOMRIGHT;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTBOTTOMRIGHT) {
        // The top-level window's own sizing, not the grip's.
        return SendMessageW(GetAncestor(Window(), GA_ROOT), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT,
                            lParam);
      }
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace vx::basectrl
