// The scaffold of a window that belongs to one object: the object is bound to its window at
// WM_NCCREATE (the creation parameter), every later message finds it through GWLP_USERDATA, and
// WM_NCDESTROY unbinds it. GWLP_USERDATA of such a window is the scaffold's and must not change.
//
// Self (CRTP) provides, all noexcept and reachable by BoundWindow<Self>:
//   LRESULT OnWindowMessage(UINT, WPARAM, LPARAM)  every message from WM_NCCREATE to WM_NCDESTROY
//   void OnWindowBound()                            at WM_NCCREATE, before the message itself
//   void OnWindowUnbound()                          the last call after WM_NCDESTROY: Self may be
//                                                   gone when it returns
#pragma once

#include <windows.h>

#include "win32/ThisModule.h"

namespace vx::win32 {

template <class Self>
class BoundWindow {
 public:
  BoundWindow(const BoundWindow&) = delete;
  BoundWindow& operator=(const BoundWindow&) = delete;

  // Null before the window is created and after it is destroyed or released.
  HWND Handle() const noexcept { return window_; }

  // The object behind a window of this kind, subclassed or not (its class keeps the scaffold's
  // procedure); null for any other window.
  static Self* FromWindow(HWND window) noexcept {
    if (!window ||
        GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Procedure)) {
      return nullptr;
    }
    return reinterpret_cast<Self*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }

 protected:
  BoundWindow() = default;
  ~BoundWindow() = default;

  // Registers a window class of this module that sends its messages to the scaffold; a class
  // already registered is taken as it is. False when it cannot be registered.
  static bool RegisterBoundClass(WNDCLASSEXW windowClass) noexcept {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(ThisModule(), windowClass.lpszClassName, &existing)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = ThisModule();
    return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  // The window's place as CreateWindowExW takes it (CW_USEDEFAULT allowed).
  struct Placement {
    int x, y, width, height;
  };

  // CreateWindowExW with this object as the creation parameter; null when creation failed.
  HWND CreateBoundWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                         const Placement& place, HWND parent) noexcept {
    return CreateWindowExW(exStyle, className, title, style, place.x, place.y, place.width,
                           place.height, parent, nullptr, ThisModule(), this);
  }

  // Cuts the window loose without destroying it: no message reaches the object any more.
  HWND ReleaseWindow() noexcept {
    const HWND window = window_;
    if (window) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    return window;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) Bind(window, lParam);
    Self* self = reinterpret_cast<Self*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message != WM_NCDESTROY) return self->OnWindowMessage(message, wParam, lParam);
    const LRESULT result = self->OnWindowMessage(message, wParam, lParam);
    self->ReleaseWindow();
    self->OnWindowUnbound();
    return result;
  }

  static void Bind(HWND window, LPARAM lParam) noexcept {
    auto* bound =
        static_cast<BoundWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    auto* self = static_cast<Self*>(bound);
    bound->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->OnWindowBound();
  }

  HWND window_ = nullptr;
};

}  // namespace vx::win32
