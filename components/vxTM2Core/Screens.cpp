#include "Screens.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "CAppCore.h"
#include "Navigation.h"
#include "ScreenBase.h"
#include "contracts/ClassNames.h"
#include "contracts/Product.h"
#include "contracts/ScreenMembers.h"

namespace vx::samplecore {
namespace {

ScreenButton GoTo(std::u16string label, std::u16string_view progId) {
  return {std::move(label), [progId](ScreenBase&) { RequestScreen(std::u16string(progId)); }};
}
ScreenButton Back() {
  return {u"Back", [](ScreenBase&) { RequestHome(); }};
}
ScreenButton Exit() {
  return {u"Exit", [](ScreenBase&) { RequestExit(); }};
}

// A page with nothing of its own beyond its content.
class Page : public ScreenBase {
 public:
  explicit Page(ScreenContent content) : ScreenBase(std::move(content)) {}
};

// A start screen: the one page on which the user may close the window; the host tells it so
// with the command "exit" before the window goes.
class StartPage : public ScreenBase {
 public:
  StartPage(ScreenContent content, int32_t commandDispId) : ScreenBase(std::move(content)) {
    AddCommandMember(commandDispId);
  }
};

// The transfer page runs a transfer of its own pace and shows its progress.
class TransferPage : public ScreenBase {
 public:
  explicit TransferPage(ScreenContent content) : ScreenBase(std::move(content)) {}

 protected:
  void CreateExtras() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    progress_ = CreateChild(PROGRESS_CLASSW, u"", 0, 0);
  }
  void LayoutExtras(int left, int top, int width) override {
    MoveWindow(progress_, left, top, std::min(width, Scaled(400)), Scaled(20), TRUE);
  }
  void OnTerminate() override { KillTimer(Handle(), kTimer); }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && wParam == kTimer) {
      Step();
      return 0;
    }
    return ScreenBase::HandleMessage(message, wParam, lParam);
  }

 public:
  void StartTransfer() {
    percent_ = 0;
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    SetText(u"Transferring contacts, calendar and notes...");
    SetTimer(Handle(), kTimer, 50, nullptr);
  }

 private:
  static constexpr UINT_PTR kTimer = 1;

  void Step() {
    percent_ = std::min(100, percent_ + 2);
    SendMessageW(progress_, PBM_SETPOS, percent_, 0);
    if (percent_ == 100) {
      KillTimer(Handle(), kTimer);
      SetText(u"Transfer complete. Your phone and this PC hold the same data.");
    }
  }

  HWND progress_ = nullptr;
  int percent_ = 0;
};

}  // namespace

Ref<IObject> MakeStartscreen() {
  return MakeObject<StartPage>(
      ScreenContent{
          classes::kStartscreen,
          u"Welcome to " VX_PRODUCT_NAME,
          u"Connect your phone to this PC, then choose what to do. Press F1 for help.",
          {GoTo(u"Transfer data", classes::kTransfer), GoTo(u"Settings", classes::kSettings),
           GoTo(u"Check for updates", classes::kUpdateCheck),
           GoTo(u"Connecting a phone", classes::kPhoneHelp), Exit()}},
      dispid::kStartscreenCommand);
}

Ref<IObject> MakeServerStartscreen() {
  return MakeObject<StartPage>(
      ScreenContent{classes::kServerStartscreen,
                    VX_PRODUCT_NAME u" - server mode",
                    u"This PC serves the phones of your organisation. Phones connect to it "
                    u"without further steps here.",
                    {GoTo(u"Settings", classes::kSettings), Exit()}},
      dispid::kServerStartscreenCommand);
}

Ref<IObject> MakeTransfer() {
  ScreenContent content{classes::kTransfer, u"Transfer", u"Press Start to transfer.", {}};
  content.buttons.push_back(
      {u"Start", [](ScreenBase& page) { static_cast<TransferPage&>(page).StartTransfer(); }});
  content.buttons.push_back(Back());
  return MakeObject<TransferPage>(std::move(content));
}

Ref<IObject> MakeSettings() {
  const CAppCore* core = ActiveCore();
  return MakeObject<Page>(ScreenContent{classes::kSettings,
                                        u"Settings",
                                        core ? core->SettingsSummary() : u"",
                                        {GoTo(u"Notes", classes::kSettingsNotes),
                                         GoTo(u"E-mails", classes::kSettingsEmails), Back()}});
}

Ref<IObject> MakeSettingsNotes() {
  return MakeObject<Page>(ScreenContent{
      classes::kSettingsNotes,
      u"Notes",
      u"Notes are transferred in both directions. A note changed on both sides is kept twice.",
      {GoTo(u"Back to settings", classes::kSettings)}});
}

Ref<IObject> MakeSettingsEmails() {
  return MakeObject<Page>(ScreenContent{
      classes::kSettingsEmails,
      u"E-mails",
      u"E-mails of the last 30 days are transferred to the phone; attachments stay on this PC.",
      {GoTo(u"Back to settings", classes::kSettings)}});
}

Ref<IObject> MakeUpdateCheck() {
  ScreenContent content{classes::kUpdateCheck,
                        u"Check for updates",
                        u"Find out whether a newer " VX_PRODUCT_NAME u" is available.",
                        {}};
  content.buttons.push_back(
      {u"Check now", [](ScreenBase& page) { page.SetText(VX_PRODUCT_NAME u" is up to date."); }});
  content.buttons.push_back(Back());
  return MakeObject<Page>(std::move(content));
}

Ref<IObject> MakePhoneHelp() {
  return MakeObject<Page>(ScreenContent{
      classes::kPhoneHelp,
      u"Connecting a phone",
      u"1. Connect the phone with its cable, or switch on Bluetooth on phone and PC.\r\n"
      u"2. Allow the connection on the phone when it asks.\r\n"
      u"3. " VX_PRODUCT_NAME u" shows the phone's name in the status bar.",
      {Back()}});
}

}  // namespace vx::samplecore
