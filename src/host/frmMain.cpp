#include "host/frmMain.h"

#include <windows.h>

#include <string>
#include <vector>

#include "contracts/AsciiText.h"
#include "contracts/CallByName.h"
#include "contracts/ClassNames.h"
#include "contracts/Contain.h"
#include "contracts/GeometryText.h"
#include "contracts/Numeric.h"
#include "contracts/ScreenMembers.h"
#include "contracts/Value.h"
#include "host/MainWindowLayout.h"
#include "host/ProgramArguments.h"
#include "host/mdlGlobalFMenu.h"
#include "host/modBasis.h"
#include "host/modFormSize.h"
#include "layout/mdlGlobalFDisplay.h"
#include "layout/modGdi.h"
#include "startup/mdlGpfTm2.h"
#include "startup/mdlProjectHelpers.h"
#include "startup/mdlStringTm2.h"
#include "startup/modRegistry.h"
#include "startup/modString.h"
#include "toolkit/ComponentRuntime.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PendingCallNotice.h"
#include "toolkit/PixelConversion.h"
#include "win32/ScreenDpi.h"

using mdlProjectHelpers::BoundProject;
using mdlProjectHelpers::LogProject;
using vx::Here;
using vx::toolkit::PendingCallScope;

namespace {

constexpr std::u16string_view kPrefix = u"frmMain.";
constexpr std::u16string_view kWhere = u"frmMain";
constexpr std::u16string_view kScreenName = u"myEmbeddedControl";
// The status bar's one notification the host subscribes to.
constexpr std::u16string_view kStatusBarClick = u"Click";

// Start-up's constants.
constexpr int32_t kBaseMinWidth = 750;
constexpr int32_t kBaseMinWidthHighDpi = 950;
constexpr int32_t kDpiThreshold = 96;
constexpr int32_t kBaseMinHeight = 500;
constexpr int32_t kScreenMargin = 50;
constexpr std::u16string_view kServerModeValue = u"ServerMode";
constexpr uint32_t kPendingCallTimeout = 60000;
constexpr int16_t kKeyF1 = 112;
constexpr std::u16string_view kNotInstalled =
    u"Application not properly installed, try re-installing!\r\n\r\nError: ";

// The window's size before the minimum-size hook raises it, in pixels.
constexpr float kDesignWidthPixels = 800;
constexpr float kDesignHeightPixels = 600;
// The size grip's design placement, in twips.
constexpr float kGripLeft = 9240;
constexpr float kGripTop = 6300;
constexpr float kGripSize = 255;

enum CloseReason : int16_t { kCloseByUser = 0, kCloseByCode = 1 };
enum WindowStateValue : int16_t { kNormal = 0, kMaximized = 2 };

// to - from in 32 bits; error 6 when it does not fit.
int32_t PixelDifference(int32_t to, int32_t from, Here here = Here::current()) {
  const int64_t difference = static_cast<int64_t>(to) - from;
  if (difference < INT32_MIN || difference > INT32_MAX) vx::Raise(vx::kErrOverflow, {}, {}, here);
  return static_cast<int32_t>(difference);
}

vx::Ref<vx::IProject> RequireProject(Here here) {
  vx::Ref<vx::IProject> project = BoundProject();
  if (!project) vx::Raise(vx::kErrObjectNotSet, {}, {}, here);
  return project;
}

void Checkpoint(Here here = Here::current()) {
  vx::Check(RequireProject(here)->Checkpoint(), here);
}

}  // namespace

frmMain::frmMain() {
  // F1 must reach the window while a screen holds the focus.
  SetKeyPreview(true);
  AddMember(kMovedDispId, u"Moved", [this](std::span<const vx::Value>) {
    Moved();
    return vx::Value();
  });
  AddMember(kActivatedDispId, u"Activated",
            [this](std::span<const vx::Value>) { return vx::Value(vx::Boolean{mActivated}); });
}

frmMain::~frmMain() = default;

// ---------------------------------------------------------------------------------------------
// Start-up

// A row of start-up: its name serves readers, logs and tests; its line is where the step is
// called, which a step with a handler of its own puts into the error's source.
struct frmMain::StartupStep {
  std::u16string_view name;
  void (frmMain::*run)(Here);
  Here line;
};

void frmMain::Form_Load() {
  static constexpr StartupStep kStartup[] = {
      {u"design controls", &frmMain::CreateDesignControls, Here::current()},
      {u"settings store from the command line", &frmMain::ReadCommandLine, Here::current()},
      {u"crash filter", &frmMain::InstallCrashFilter, Here::current()},
      {u"window bounds", &frmMain::Moved, Here::current()},
      {u"minimum size", &frmMain::FixMinimumSize, Here::current()},
      {u"server mode", &frmMain::ReadServerMode, Here::current()},
      {u"core", &frmMain::StartCore, Here::current()},
      {u"project log", &frmMain::BindProjectLog, Here::current()},
      {u"pending-call notice", &frmMain::ConfigurePendingCallNotice, Here::current()},
      {u"display report", &frmMain::LogDisplay, Here::current()},
  };
  mLoaded = vx::kVxFalse;
  try {
    vx::Handled(kPrefix, Here::current(), [&] {
      for (const StartupStep& step : kStartup) {
        (this->*step.run)(step.line);                           // the first error ends start-up
        if (step.run == &frmMain::StartCore && !mCore) return;  // so does a core that refused
      }
      mLoaded = vx::kVxTrue;
    });
  } catch (const vx::Error& error) {
    ShowLoadFailure(error);
  }
  settings_.Reset();
  services_.Reset();
  // The exit point: a start-up that did not complete ends the program.
  if (!mLoaded) Unload();
}

// The window's design: caption, size and the two controls that exist with the window.
void frmMain::CreateDesignControls(Here here) {
  Form::SetCaption(kAppTitle);
  SetWidth(kDesignWidthPixels * vx::win32::TwipsPerPixelX(), here);
  SetHeight(kDesignHeightPixels * vx::win32::TwipsPerPixelY(), here);

  moStatusBar = Controls().Add(vx::classes::kStatusBar, u"ctlStatusBar", here);
  moStatusBar->SetLeft(0, here);
  moStatusBar->SetWidth(ScaleWidth(here), here);
  moStatusBar->SetTop(ScaleHeight(here) - moStatusBar->Height(here), here);
  moStatusBar->SetNotificationHandler(
      [this](std::u16string_view event) { OnStatusBarNotification(event); }, here);
  moStatusBar->SetVisible(true, here);

  ctlGripper = Controls().Add(vx::classes::kGripper, u"ctlGripper", here);
  ctlGripper->SetLeft(kGripLeft, here);
  ctlGripper->SetTop(kGripTop, here);
  ctlGripper->SetWidth(kGripSize, here);
  ctlGripper->SetHeight(kGripSize, here);
  ctlGripper->SetVisible(true, here);
}

// A new settings store filled from the command line's switches and file name.
void frmMain::ReadCommandLine(Here) {
  modString::TokenArray args = modString::SplitCommandLine(
      vx::host::ArgumentTextOf(reinterpret_cast<const char16_t*>(GetCommandLineW())));
  settings_ = vx::toolkit::Create<vx::ISettingsStore>(vx::ISettingsStore::kClassName);
  vx::Check(settings_->Init(u"settings"));

  std::vector<std::u16string> parameters;
  const bool debug = modString::TakeSwitch(u"debug", 0, 0, args, parameters);
  const bool log = modString::TakeSwitch(u"log", 0, 0, args, parameters);
  vx::Check(settings_->SetValue(u"log", debug || log ? u"y" : u"n"));

  std::u16string value;
  if (modString::TakeOptionValue(u"autosync", true, args, value)) {
    vx::Check(settings_->SetValue(u"autosync", value));
  }

  if (args.size() == 1) {
    vx::Check(settings_->SetValue(u"partnership-filename", modString::StripQuotes(args[0])));
  } else if (args.size() > 1) {
    vx::Raise(vx::kErrAppDefined, {}, u"Too many parameters");
  }
}

void frmMain::InstallCrashFilter(Here) {
  mdlGpfTm2::InstallCrashFilter();
}

// Each reading takes the window's device context afresh.
void frmMain::FixMinimumSize(Here) {
  const int32_t dpi = mdlGlobalF::GetLogPixelsX(GetDeviceContext().get());
  const int32_t baseWidth = dpi > kDpiThreshold ? kBaseMinWidthHighDpi : kBaseMinWidth;
  const int32_t minWidth = modBasis::MinLong(
      baseWidth, mdlGlobalF::GetHorzRes(GetDeviceContext().get()) - kScreenMargin);
  const int32_t minHeight = modBasis::MinLong(
      kBaseMinHeight, mdlGlobalF::GetVertRes(GetDeviceContext().get()) - kScreenMargin);
  modFormSize::HookFormSize(Self<vx::IGui>(), minWidth, minHeight, true);
}

void frmMain::ReadServerMode(Here) {
  const auto serverMode =
      modRegistry::RegReadString(HKEY_LOCAL_MACHINE, vx::ProductKey(u"Install"), kServerModeValue);
  if (serverMode && *serverMode == u"1") mServerMode = vx::kVxTrue;
}

// The core may refuse to start: not an error, the program just ends without it.
void frmMain::StartCore(Here) {
  mCore = vx::toolkit::Create<vx::IAppCore>(vx::IAppCore::kClassName);
  vx::VxBool ok = vx::kVxFalse;
  {
    PendingCallScope pending;
    vx::Check(
        mCore->Init(this, settings_.get(), reinterpret_cast<intptr_t>(InstanceHandle()), &ok));
  }
  if (!ok) mCore.Reset();
}

void frmMain::BindProjectLog(Here) {
  services_ = vx::QueryAs<vx::IAppServices>(mCore);
  vx::Ref<vx::IProject> project;
  vx::Check(services_->GetProject(&project));
  mdlProjectHelpers::BindProjectLog(project, u"Main");
}

void frmMain::LogDisplay(Here) {
  LogProject(u"Load", u"Screen:" + mdlStringTm2::MakeTextBlock(
                                       mdlGlobalF::GetDisplayReport(GetDeviceContext().get())));
}

void frmMain::ShowLoadFailure(const vx::Error& error) noexcept {
  loadFailed_ = vx::kVxTrue;
  // Whatever fails here, the window still unloads.
  vx::Contain(kWhere, [&] {
    const std::u16string text =
        vx::DecimalText(error.number()) + u";" + error.source() + u" " + error.description();
    // Telling the project is worth a try; the user learns of the failure either way.
    if (services_) vx::Contain(kWhere, [&] { LogLoadFailure(text); });
    vx::toolkit::ShowMessageBox(Handle(), std::u16string(kNotInstalled) + text, kAppTitle,
                                MB_ICONSTOP | MB_OK);
  });
}

void frmMain::LogLoadFailure(std::u16string_view text) {
  vx::Ref<vx::IProject> project;
  vx::Check(services_->GetProject(&project));
  if (!project) vx::Raise(vx::kErrObjectNotSet);
  vx::Check(project->Log(u"Main", u"ERROR: " + std::u16string(text)));
}

void frmMain::ConfigurePendingCallNotice(Here here) {
  vx::Handled(kPrefix, here, [&] {
    const vx::Ref<vx::IProject> project = RequireProject(Here::current());
    vx::toolkit::PendingCallNotice::SetTimeout(kPendingCallTimeout);
    std::u16string text;
    vx::Check(project->GetText(u":ole-request-pending", &text));
    vx::toolkit::PendingCallNotice::SetText(text);
    std::u16string caption;
    vx::Check(project->GetText(u":tm", &caption));
    vx::toolkit::PendingCallNotice::SetCaption(caption);
  });
}

void frmMain::Form_Activate() {
  // A core that shows a message box while it activates re-activates the window: that nested
  // activation must not call the core a second time.
  if (!mLoaded || mActivated || activating_) return;
  activating_ = vx::kVxTrue;
  struct Reset {
    vx::VxBool& flag;
    ~Reset() { flag = vx::kVxFalse; }
  } reset{activating_};
  vx::Handled(kPrefix, Here::current(), [&] {
    PendingCallScope pending;
    if (mServerMode) {
      vx::Check(mCore->ActivateServer());
    } else {
      vx::Check(mCore->Activate());
    }
    mActivated = vx::kVxTrue;
  });
}

void frmMain::Form_KeyDown(int16_t keyCode, int16_t) {
  if (keyCode != kKeyF1) return;
  vx::Handled(kPrefix, Here::current(), [&] {
    const vx::Ref<vx::IProject> project = RequireProject(Here::current());
    PendingCallScope pending;
    vx::Check(project->ShowHelp());
  });
}

// ---------------------------------------------------------------------------------------------
// Layout

void frmMain::Form_Resize() {
  // A size change without a move (a drag of the right or bottom border, a width set from code)
  // brings no WM_MOVE; remembering the bounds here too keeps the geometry text from reporting a
  // size the window no longer has.
  Moved();
  RunLayoutPass();
}

void frmMain::RunLayoutPass(Here here) {
  if (!mLoaded) return;
  vx::Handled(kPrefix, here, [&] {
    // The layout file has no handler of its own: its errors arise at this line, the call's.
    vx::Check(vx::Guard(
        [&] { MainWindowLayout::Run(*this, moEmbeddedControl.get(), moStatusBar.get()); }));
  });
}

void frmMain::OnStatusBarNotification(std::u16string_view event) noexcept {
  if (event != kStatusBarClick) return;
  vx::Contain(kWhere, [&] {
    if (moEmbeddedControl && moEmbeddedControl->Visible()) moEmbeddedControl->SetFocus();
  });
}

// ---------------------------------------------------------------------------------------------
// Window members and IGui

void frmMain::Moved(Here here) {
  vx::Handled(kPrefix, here, [&] {
    if (WindowState() != kNormal) return;
    msGeometry = vx::FormatGeometryBounds(Left(), Top(), Width(), Height());
  });
}

void frmMain::GetWorkAreaSize(float& height, float& width, Here here) {
  vx::Handled(kPrefix, here, [&] {
    RECT area{0, 0, 0, 0};
    // A failing query leaves the rectangle empty: the result is then 0 x 0.
    SystemParametersInfoW(SPI_GETWORKAREA, 1, &area, 0);
    const int32_t pixelsWide = PixelDifference(area.right, area.left);
    const int32_t pixelsHigh = PixelDifference(area.bottom, area.top);
    width = vx::ToSingle(static_cast<double>(vx::win32::TwipsPerPixelX()) * pixelsWide);
    height = vx::ToSingle(static_cast<double>(vx::win32::TwipsPerPixelY()) * pixelsHigh);
  });
}

vx::Status frmMain::SetControl(std::u16string_view progId, vx::Ref<vx::IObject>* screen) noexcept {
  return vx::Guard([&] { *screen = DoSetControl(progId); });
}

vx::Ref<vx::IObject> frmMain::DoSetControl(std::u16string_view progId, Here here) {
  return vx::Handled(kPrefix, here, [&] {
    const auto log = [](std::u16string_view line) { LogProject(u"SetControl", line); };
    log(u"Start: " + std::u16string(progId));
    if (moEmbeddedControl) {
      {
        PendingCallScope pending;
        vx::CallByName(moEmbeddedControl->Object(), u"Terminate");
      }
      log(u"old terminated");
      moEmbeddedControl->SetVisible(false);
      log(u"old set invisible");
      Controls().Remove(kScreenName);
      log(u"old removed");
      moEmbeddedControl.reset();
      log(u"old nothing");
    }
    Refresh();
    log(u"refreshed");

    vx::Ref<vx::IObject> result;
    if (progId.empty()) {
      moEmbeddedControl.reset();
    } else {
      const bool startScreen = modBasis::IsInList(
          vx::Value(std::u16string(progId)),
          modBasis::List{vx::Value(std::u16string(vx::classes::kStartscreen)),
                         vx::Value(std::u16string(vx::classes::kServerStartscreen))});
      mdlGlobalF::ChangeCloseWindowButton(Handle(), startScreen);
      log(u"ChangeCloseWindowButton");
      {
        PendingCallScope pending;
        moEmbeddedControl = Controls().Add(progId, kScreenName);
      }
      log(u"added");
      Checkpoint();
      result = moEmbeddedControl->Object();
      log(u"new reference set");
      Checkpoint();
      RunLayoutPass();
      log(u"resized");
      moEmbeddedControl->SetVisible(true);
      log(u"set visible");
    }
    log(u"end");
    return result;
  });
}

vx::Status frmMain::GetStatusBar(vx::Ref<vx::IObject>* statusBar) noexcept {
  return vx::Guard([&] { *statusBar = DoGetStatusBar(); });
}

vx::Ref<vx::IObject> frmMain::DoGetStatusBar(Here here) {
  return vx::Handled(kPrefix, here,
                     [&] { return moStatusBar ? moStatusBar->Object() : vx::Ref<vx::IObject>(); });
}

vx::Status frmMain::SetCaption(std::u16string_view text) noexcept {
  return vx::Guard([&] { DoSetCaption(text); });
}

void frmMain::DoSetCaption(std::u16string_view text, Here here) {
  vx::Handled(kPrefix, here, [&] { Form::SetCaption(text); });
}

vx::Status frmMain::Terminate() noexcept {
  return vx::Guard([&] { DoTerminate(); });
}

void frmMain::DoTerminate(Here here) {
  vx::Handled(kPrefix, here, [&] {
    // Each line goes to the project only while one is bound, asked afresh every time.
    const auto log = [](std::u16string_view line) {
      if (const auto project = BoundProject()) vx::Check(project->Log(u"Gui", line));
    };
    mdlGpfTm2::RemoveCrashFilter();
    if (const auto project = BoundProject()) vx::Check(project->Checkpoint());
    log(u"terminating");
    // Disabled rather than hidden: input stops during the teardown, and the window does not hand
    // activation to another window while the core is still being shut down.
    SetEnabled(false);
    log(u"unloading ctl");
    DoSetControl(u"");
    if (BoundProject()) {
      log(u"unload me");
      if (const auto project = BoundProject()) vx::Check(project->Checkpoint());
    }
    Unload();
  });
}

vx::Status frmMain::GetGeometry(std::u16string* geometry) noexcept {
  return vx::Guard([&] { *geometry = DoGetGeometry(); });
}

std::u16string frmMain::DoGetGeometry(Here here) {
  return vx::Handled(kPrefix, here,
                     [&] { return vx::JoinGeometryText(msGeometry, WindowState()); });
}

vx::Status frmMain::SetGeometry(std::u16string_view geometry) noexcept {
  return vx::Guard([&] { DoSetGeometry(geometry); });
}

void frmMain::DoSetGeometry(std::u16string_view geometry, Here here) {
  vx::Handled(kPrefix, here, [&] {
    float workHeight = 0;
    float workWidth = 0;
    GetWorkAreaSize(workHeight, workWidth);
    const std::optional<vx::GeometryFields> fields = vx::ParseGeometryText(geometry);
    if (!fields) return;
    using modBasis::List;
    using modBasis::MaxOfList;
    using modBasis::MinOfList;
    const vx::Value zero(int16_t{0});
    const float left = modBasis::SingleOf(MaxOfList(List{zero, vx::Value(fields->left)}));
    const float top = modBasis::SingleOf(MaxOfList(List{zero, vx::Value(fields->top)}));
    const float minWidth = 100 * vx::win32::TwipsPerPixelX();
    const float width = modBasis::SingleOf(MinOfList(List{
        vx::Value(workWidth), MaxOfList(List{vx::Value(minWidth), vx::Value(fields->width)})}));
    const float minHeight = 100 * vx::win32::TwipsPerPixelY();
    const float height = modBasis::SingleOf(MinOfList(List{
        vx::Value(workHeight), MaxOfList(List{vx::Value(minHeight), vx::Value(fields->height)})}));
    // Applied whole or not at all: the far edges (all four bounds are positive) must be pixels
    // before the first bound moves the window.
    vx::toolkit::TwipsToPixels(left + width, vx::win32::TwipsPerPixelX());
    vx::toolkit::TwipsToPixels(top + height, vx::win32::TwipsPerPixelY());
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
    // Never restored minimised.
    if (fields->state == kNormal || fields->state == kMaximized)
      SetWindowState(static_cast<int16_t>(fields->state));
  });
}

vx::Status frmMain::NotifyUser() noexcept {
  return vx::Guard([&] { DoNotifyUser(); });
}

void frmMain::DoNotifyUser(Here here) {
  vx::Handled(kPrefix, here, [&] {
    const HWND window = Handle();
    if (!window) vx::Raise(vx::kErrObjectNotSet);
    FlashWindow(window, FALSE);
    FlashWindow(window, TRUE);
  });
}

vx::Status frmMain::RefreshWindow() noexcept {
  return vx::Guard([&] { DoRefreshWindow(); });
}

void frmMain::DoRefreshWindow(Here here) {
  vx::Handled(kPrefix, here, [&] { mdlGlobalF::RefreshMenuBar(Handle()); });
}

vx::Status frmMain::GetWindowHandle(int32_t* handle) noexcept {
  return vx::Guard([&] { *handle = DoGetWindowHandle(); });
}

int32_t frmMain::DoGetWindowHandle(Here here) {
  return vx::Handled(kPrefix, here, [&] {
    const HWND window = Handle();
    if (!window) vx::Raise(vx::kErrObjectNotSet);
    // Window handles carry 32 significant bits, also in a 64-bit process.
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
  });
}

// ---------------------------------------------------------------------------------------------
// Shutdown

void frmMain::Form_QueryUnload(int16_t& cancel, int16_t unloadMode) {
  if (!mLoaded) return;
  if (!mCore && unloadMode == kCloseByCode) return;
  vx::Handled(kPrefix, Here::current(), [&] {
    LogProject(u"", u"Form_QueryUnload");
    if (unloadMode != kCloseByUser) return;
    if (!moEmbeddedControl) {
      Moved();
      if (!mCore) vx::Raise(vx::kErrObjectNotSet);
      vx::VxBool refuse = cancel ? vx::kVxTrue : vx::kVxFalse;
      {
        PendingCallScope pending;
        vx::Check(mCore->QueryClose(&refuse, unloadMode));
      }
      cancel = refuse;
      return;
    }
    const std::u16string_view screenClass = vx::ClassPart(moEmbeddedControl->ProgId());
    for (const vx::StartScreen& start : vx::kStartScreens) {
      if (screenClass != vx::ClassPart(start.progId)) continue;
      PendingCallScope pending;
      vx::CallById(moEmbeddedControl->Object(), start.commandDispId, {vx::Value(u"exit")});
      return;
    }
    cancel = vx::kVxTrue;
  });
}

void frmMain::Form_Unload(int16_t& cancel) {
  if (!mLoaded) return;
  vx::Handled(kPrefix, Here::current(), [&] {
    DoSetControl(u"");
    if (mCore) {
      LogProject(u"", u"terminating...");
      {
        PendingCallScope pending;
        vx::Check(mCore->Shutdown());
      }
      mCore.Reset();
    }
    if (!cancel) modFormSize::UnhookFormSize(Self<vx::IGui>());
  });
}
