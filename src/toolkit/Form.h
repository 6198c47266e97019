// The main window base of the toolkit: a top-level window with the events and properties a form
// runtime gives its forms.
//
// Life: construct, Load() (creates the hidden window, runs Form_Load once), Show(), and finally
// Unload() from code or a close by the user or the system. When the last form's window is gone
// the message loop ends (PostQuitMessage), whether the form was unloaded or its window destroyed
// otherwise.
//
// Sizes and positions are toolkit twips (Screen.h). Left/Top/Width/Height are the outer bounds
// on the screen. While the window is minimised or maximised they read and write its normal-state
// bounds (GetWindowPlacement/SetWindowPlacement): the window stays as it is and takes the new
// bounds when it is restored. Properties other than the caption need the window: before Load or
// after Unload they raise error 91.
//
// Close reasons passed to Form_QueryUnload:
//   0  WM_CLOSE: the close box, the system menu, Alt+F4, WM_SYSCOMMAND SC_CLOSE. The task
//      manager's "End task" also sends WM_CLOSE and cannot be told apart, so it is 0 as well:
//      reason 3 never occurs.
//   1  Unload() from code.
//   2  the end of the session: WM_QUERYENDSESSION asks (a refusal answers FALSE); WM_ENDSESSION
//      with TRUE then unloads (Form_Unload's cancel is ignored there: the session ends anyway).
//   4, 5  (a parent or owner closing) never occur: the toolkit has no MDI windows and no owned
//      forms.
// A window destroyed without Unload (DestroyWindow by someone else) raises no events.
//
// Errors in event handlers: an error (vx::Error or any other exception) that escapes a handler
// run from a window message does not cross the window procedure: the toolkit catches it, shows a
// modal critical message box with its number, description and source (caption: the form's
// caption, or the program's name when it is empty) and goes on as if the handler had returned.
// Handlers run by Load() and Unload() are called from the program's own code: their errors pass
// on to the caller of Load()/Unload(). The activation that the closing of such a box brings
// raises no Form_Activate, so an activation handler that keeps failing cannot show its box again
// and again; the next real activation raises it as usual.
//
// Subclassing: the window procedure finds its Form through GWLP_USERDATA (win32::BoundWindow),
// which is the toolkit's and must not be changed. A procedure may be put in front of the form's own
// with SetWindowLongPtrW(Handle(), GWLP_WNDPROC, ...) and must pass the messages it does not
// consume on with CallWindowProcW to the procedure it replaced; putting that one back undoes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "contracts/Error.h"
#include "toolkit/ControlContainer.h"
#include "toolkit/TwipsBounds.h"
#include "win32/BoundWindow.h"
#include "win32/DeviceContext.h"

namespace vx::toolkit {

using DeviceContext = win32::UniqueDc;

class Form : public TwipsBounds, public win32::BoundWindow<Form> {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window (hidden) and runs Form_Load. A second Load of a loaded form does nothing;
  // a form is loaded at most once in its life. Errors of the window's creation or of Form_Load
  // pass on.
  void Load(Here here = Here::current());
  // Shows the window and activates it; before the first show Form_Resize runs. Does nothing when
  // the form is not loaded (for example when Form_Load unloaded it). The events it raises are
  // window events: their errors are shown, not passed on.
  void Show();
  // Raises the close request with reason 1 and, unless it is refused, Form_Unload, then
  // destroys the window. Does nothing more when a handler refuses, when the form is not loaded,
  // or when an unload of this form is already running.
  void Unload();
  bool IsLoaded() const noexcept { return Handle() != nullptr; }

  std::u16string Caption() const;
  void SetCaption(std::u16string_view caption);

  // 0 normal, 1 minimised, 2 maximised. Set on a hidden window, the state is taken when the
  // window is shown. Another value is error 5.
  int16_t WindowState(Here here = Here::current()) const;
  void SetWindowState(int16_t state, Here here = Here::current());

  // Client size in toolkit twips.
  float ScaleWidth(Here here = Here::current()) const;
  float ScaleHeight(Here here = Here::current()) const;

  bool Visible(Here here = Here::current()) const;
  void SetVisible(bool visible, Here here = Here::current());
  bool Enabled(Here here = Here::current()) const;
  void SetEnabled(bool enabled, Here here = Here::current());
  // With key preview, keys meant for a child control reach Form_KeyDown first.
  bool KeyPreview() const noexcept { return keyPreview_; }
  void SetKeyPreview(bool on) noexcept { keyPreview_ = on; }

  // Handle(): null before Load and after the window is gone.
  // A fresh device context of the window for each use.
  DeviceContext GetDeviceContext(Here here = Here::current()) const;
  // Repaints the window and its children at once.
  void Refresh(Here here = Here::current());
  ControlContainer& Controls() noexcept { return controls_; }
  // The instance handle of the running executable.
  static HINSTANCE InstanceHandle() noexcept;

  // For message loops: gives a key message meant for a child of a form with key preview to the
  // form's Form_KeyDown. Returns true when a form saw it; the message is dispatched either way.
  static bool PreviewKeyMessage(const MSG& msg);

 protected:
  virtual void Form_Load() {}
  // Every time the window becomes the active window.
  virtual void Form_Activate() {}
  // keyCode: the virtual-key code; shift: 1 Shift, 2 Ctrl, 4 Alt.
  virtual void Form_KeyDown(int16_t keyCode, int16_t shift) {
    (void)keyCode;
    (void)shift;
  }
  // Every change of the client size once loading has begun, and once before the first show.
  virtual void Form_Resize() {}
  // cancel: non-zero refuses the close. unloadMode: the close reason (see above).
  virtual void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) {
    (void)cancel;
    (void)unloadMode;
  }
  virtual void Form_Unload(int16_t& cancel) { (void)cancel; }

 private:
  friend class win32::BoundWindow<Form>;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void OnWindowBound() noexcept;
  void OnWindowUnbound() noexcept;
  LRESULT OnActivate(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnSize(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnQueryEndSession() noexcept;
  void EndSession();
  // Runs an event handler; what escapes it is shown in the critical box (vx::Contain).
  template <class Handler>
  void RunEvent(Handler&& handler) noexcept;
  void ShowEventError(const ErrorInfo& error) noexcept;
  HWND Window(Here here) const;
  // The normal-state bounds on the screen, also while minimised or maximised.
  RECT PixelBounds(Here here) const override;
  void PlacePixels(const RECT& pixels, Here here) override;
  void RaiseResizeIfChanged();
  // The close sequence: RunClose asks and unloads; true when the window was destroyed.
  bool RunClose(int16_t reason);
  bool UnloadAfterQuery(bool mayCancel);

  std::u16string caption_;
  ControlContainer controls_;
  bool keyPreview_ = false;
  bool loadStarted_ = false;
  bool closing_ = false;
  bool shownOnce_ = false;
  bool reportingError_ = false;
  int16_t pendingState_ = 0;
  SIZE lastClientSize_{-1, -1};
};

}  // namespace vx::toolkit
