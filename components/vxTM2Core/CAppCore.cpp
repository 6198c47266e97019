#include "CAppCore.h"

#include <windows.h>

#include "CSettingsStore.h"
#include "FirstPlacement.h"
#include "Navigation.h"
#include "Texts.h"
#include "UserSettings.h"
#include "contracts/AsciiText.h"
#include "contracts/CallByName.h"
#include "contracts/Contain.h"
#include "contracts/Product.h"
#include "win32/ScreenDpi.h"
#include "win32/WideText.h"

namespace vx::samplecore {
namespace {

constexpr std::u16string_view kCategory = u"Core";

std::u16string ErrorText(const ErrorInfo& error) {
  std::u16string text = DecimalText(error.number);
  text += u" (";
  text += error.source;
  text += u") ";
  text += error.description;
  return text;
}

}  // namespace

CAppCore::CAppCore() : project_(MakeObject<CProject>(DefaultLogPath())) {}

CAppCore::~CAppCore() {
  if (ActiveCore() == this) SetActiveCore(nullptr);
}

Status CAppCore::Init(IGui* gui, ISettingsStore* settings, intptr_t, VxBool* ok) noexcept {
  return Guard([&] {
    *ok = kVxFalse;
    if (!gui) Raise(kErrObjectNotSet, kClassName, u"No window to show screens in");
    gui_ = Ref<IGui>::Share(gui);
    // The store comes from this library; one from elsewhere simply holds no settings for us.
    if (const auto* store = dynamic_cast<const CSettingsStore*>(settings)) {
      verboseLog_ = store->Value(u"log") == u"y";
      autosync_ = store->Value(u"autosync");
      partnershipFile_ = store->Value(u"partnership-filename");
    }
    SetActiveCore(this);
    if (verboseLog_) (void)project_->Log(kCategory, u"Init: " + SettingsSummary());
    *ok = kVxTrue;
  });
}

Status CAppCore::Activate() noexcept {
  return Guard([&] { Start(classes::kStartscreen); });
}

Status CAppCore::ActivateServer() noexcept {
  return Guard([&] { Start(classes::kServerStartscreen); });
}

Status CAppCore::QueryClose(VxBool*, int16_t) noexcept {
  // With no screen shown there is nothing to lose: the close goes ahead.
  return Status::Ok();
}

Status CAppCore::Shutdown() noexcept {
  return Guard([&] {
    if (gui_) {
      std::u16string geometry;
      if (gui_->GetGeometry(&geometry).ok()) SaveGeometry(geometry);
    }
    if (verboseLog_) (void)project_->Log(kCategory, u"Shutdown");
    (void)project_->Checkpoint();
    if (ActiveCore() == this) SetActiveCore(nullptr);
    // The window holds this core; letting go of the window breaks the cycle.
    gui_.Reset();
  });
}

Status CAppCore::GetProject(Ref<IProject>* project) noexcept {
  *project = project_;
  return Status::Ok();
}

void CAppCore::Start(std::u16string_view firstScreen) {
  if (!gui_) Raise(kErrObjectNotSet, kClassName, u"Activated before Init");
  home_ = firstScreen;
  Check(gui_->SetCaption(kProductName));
  // A text the window does not accept must not keep the program from starting.
  // Kept bounds that no monitor shows any more (one was unplugged since) are not restored.
  const auto geometry = LoadGeometry();
  if (geometry && MeetsAWorkArea(*geometry, win32::TwipsPerPixelX())) {
    (void)gui_->SetGeometry(*geometry);
  } else if (const auto centred = CentredGeometry()) {
    (void)gui_->SetGeometry(*centred);
  }
  Show(firstScreen);
}

void CAppCore::Show(std::u16string_view progId) {
  Ref<IObject> screen;
  Check(gui_->SetControl(progId, &screen));
  std::u16string caption(kProductName);
  if (progId != classes::kStartscreen && progId != classes::kServerStartscreen && screen) {
    const Value title = CallByName(screen, u"Title");
    if (title.IsString()) caption += u" - " + title.As<std::u16string>();
  }
  Check(gui_->SetCaption(caption));
  SetStatusText(partnershipFile_ ? u"Partnership: " + *partnershipFile_ : u"Ready");
}

void CAppCore::ShowScreen(std::u16string_view progId) noexcept {
  if (!gui_) return;
  Contain(
      kCategory, [&] { Show(progId); },
      [this](std::u16string_view, const ErrorInfo& error) noexcept {
        ReportFailure(u"The page cannot be shown.", error);
      });
}

void CAppCore::EndProgram() noexcept {
  if (!gui_) return;
  // The window ends the program and calls Shutdown on the way, which lets go of it.
  const Ref<IGui> gui = gui_;
  const Status status = gui->Terminate();
  if (!status.ok()) ReportFailure(u"The program cannot end cleanly.", status.error);
}

std::u16string CAppCore::SettingsSummary() const {
  std::u16string text = u"Detailed log: ";
  text += verboseLog_ ? u"on" : u"off";
  text += u"\r\nAutomatic synchronisation: ";
  text += autosync_ ? (autosync_->empty() ? u"on" : *autosync_) : u"off";
  text += u"\r\nPartnership file: ";
  text += partnershipFile_ ? *partnershipFile_ : u"(none)";
  return text;
}

void CAppCore::SetStatusText(std::u16string_view text) noexcept {
  // The status bar is a courtesy; a failing one changes nothing else.
  Contain(kCategory, [&] {
    Ref<IObject> statusBar;
    if (!gui_->GetStatusBar(&statusBar).ok() || !statusBar) return;
    CallByName(statusBar, u"SetPanelText", {int32_t{1}, std::u16string(text)});
  });
}

void CAppCore::ReportFailure(std::u16string_view what, const ErrorInfo& error) noexcept {
  Contain(kCategory, [&] {
    const std::u16string text = std::u16string(what) + u"\r\n\r\n" + ErrorText(error);
    (void)project_->Log(kCategory, u"ERROR: " + ErrorText(error));
    MessageBoxW(GetActiveWindow(), win32::W(text), win32::W(std::u16string(kProductName)),
                MB_OK | MB_ICONEXCLAMATION);
  });
}

}  // namespace vx::samplecore
