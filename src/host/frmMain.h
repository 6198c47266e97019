// The main window: the program's start object and the host interface the core drives it through.
//
// Form_Load runs the start-up: it fills a settings store from the command line, installs the
// crash filter, fixes the minimum window size, reads the server mode, creates and initialises the
// core and binds the project log. From the first activation on the core is in charge and calls
// the IGui members; it ends the program through IGui::Terminate, or the user closes the window
// from a start screen.
//
// The window is a counted object: the core, the subclassing table and WinMain each hold a
// reference. Every IGui member has one shape: its body DoX runs under frmMain's handler, which
// adds "frmMain." and the line to the error's source, and the member returns the error as its
// status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/IAppCore.h"
#include "contracts/IGui.h"
#include "contracts/Object.h"
#include "contracts/ObjectImpl.h"
#include "contracts/Product.h"
#include "toolkit/ContainedControl.h"
#include "toolkit/Form.h"

class frmMain : public vx::toolkit::Form, public vx::ObjectImpl<vx::IGui> {
 public:
  // The application's title: the window's caption and the caption of the start-up failure box.
  static constexpr std::u16string_view kAppTitle = vx::kProductName;
  static constexpr int32_t kMovedDispId = 1;
  static constexpr int32_t kActivatedDispId = 2;

  frmMain();

  // Read-only: true from the first activation after a completed start-up on.
  vx::VxBool Activated() const noexcept { return mActivated; }
  // True when start-up ended in its failure message; WinMain reports it in the exit code.
  bool LoadFailed() const noexcept { return vx::FromVxBool(loadFailed_); }

  // The end of the program: lets go of a core that a failed start-up left behind. Such a core
  // never ran, so it is not shut down; an orderly end has released it already.
  void ReleaseCore() noexcept { mCore.Reset(); }

  // Remembers the window's bounds in the normal state for IGui::GetGeometry. Also reachable by
  // name, for the subclassing module's call after every move.
  void Moved(vx::Here here = vx::Here::current());

  // vx::IGui
  vx::Status SetControl(std::u16string_view progId, vx::Ref<vx::IObject>* screen) noexcept override;
  vx::Status GetStatusBar(vx::Ref<vx::IObject>* statusBar) noexcept override;
  vx::Status SetCaption(std::u16string_view text) noexcept override;
  vx::Status Terminate() noexcept override;
  vx::Status GetGeometry(std::u16string* geometry) noexcept override;
  vx::Status SetGeometry(std::u16string_view geometry) noexcept override;
  vx::Status NotifyUser() noexcept override;
  vx::Status RefreshWindow() noexcept override;
  vx::Status GetWindowHandle(int32_t* handle) noexcept override;

 protected:
  ~frmMain() override;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyDown(int16_t keyCode, int16_t shift) override;
  void Form_Resize() override;
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override;
  void Form_Unload(int16_t& cancel) override;

 private:
  // Start-up's steps, in the order of the table in Form_Load; here is the line of the step's row.
  // An error arises at the line where it is raised, or at here for a step that hands it on (the
  // ones with a handler, and the design controls). A core that refuses to start leaves mCore
  // empty, which ends start-up without an error.
  struct StartupStep;
  void CreateDesignControls(vx::Here here);
  void ReadCommandLine(vx::Here here);
  void InstallCrashFilter(vx::Here here);
  void FixMinimumSize(vx::Here here);
  void ReadServerMode(vx::Here here);
  void StartCore(vx::Here here);
  void BindProjectLog(vx::Here here);
  void ConfigurePendingCallNotice(vx::Here here);
  void LogDisplay(vx::Here here);
  void ShowLoadFailure(const vx::Error& error) noexcept;
  void LogLoadFailure(std::u16string_view text);
  void OnStatusBarNotification(std::u16string_view event) noexcept;
  // Form_Resize's pass, also run by SetControl before a new screen is shown.
  void RunLayoutPass(vx::Here here = vx::Here::current());

  // The bodies of the IGui members, which the shutdown also runs from inside the host.
  vx::Ref<vx::IObject> DoSetControl(std::u16string_view progId,
                                    vx::Here here = vx::Here::current());
  vx::Ref<vx::IObject> DoGetStatusBar(vx::Here here = vx::Here::current());
  void DoSetCaption(std::u16string_view text, vx::Here here = vx::Here::current());
  void DoTerminate(vx::Here here = vx::Here::current());
  std::u16string DoGetGeometry(vx::Here here = vx::Here::current());
  void DoSetGeometry(std::u16string_view geometry, vx::Here here = vx::Here::current());
  void DoNotifyUser(vx::Here here = vx::Here::current());
  void DoRefreshWindow(vx::Here here = vx::Here::current());
  int32_t DoGetWindowHandle(vx::Here here = vx::Here::current());
  // Work area of the desktop in toolkit twips: height first, then width.
  void GetWorkAreaSize(float& height, float& width, vx::Here here = vx::Here::current());

  vx::VxBool mLoaded = vx::kVxFalse;
  vx::VxBool mActivated = vx::kVxFalse;
  vx::VxBool mServerMode = vx::kVxFalse;
  vx::Ref<vx::IAppCore> mCore;
  std::u16string msGeometry;
  std::shared_ptr<vx::toolkit::ContainedControl> moEmbeddedControl;
  std::shared_ptr<vx::toolkit::ContainedControl> moStatusBar;
  std::shared_ptr<vx::toolkit::ContainedControl> ctlGripper;
  vx::VxBool loadFailed_ = vx::kVxFalse;
  vx::VxBool activating_ = vx::kVxFalse;
  // What start-up's steps hand on to each other; let go of when Form_Load returns.
  vx::Ref<vx::ISettingsStore> settings_;
  vx::Ref<vx::IAppServices> services_;
};
