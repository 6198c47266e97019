#include "Screens.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "CAppCore.h"
#include "Navigation.h"
#include "ScreenBase.h"

namespace vx::samplecore {
namespace {

constexpr int32_t kStartscreenCommandDispId = 0x60030002;
constexpr int32_t kServerStartscreenCommandDispId = 0x60030011;

ScreenButton GoTo(std::u16string label, std::u16string progId) {
  return {std::move(label), [progId](ScreenBase&) { RequestScreen(progId); }};
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
  void OnTerminate() override { KillTimer(Window(), kTimer); }
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
    SetTimer(Window(), kTimer, 50, nullptr);
  }

 private:
  static constexpr UINT_PTR kTimer = 1;

  void Step() {
    percent_ = std::min(100, percent_ + 2);
    SendMessageW(progress_, PBM_SETPOS, percent_, 0);
    if (percent_ == 100) {
      KillTimer(Window(), kTimer);
      SetText(u"Transfer complete. Your phone and this PC hold the same data.");
    }
  }

  HWND progress_ = nullptr;
  int percent_ = 0;
};

}  // namespace

Ref<IObject> MakeStartscreen() {
  return MakeObject<StartPage>(
      ScreenContent{u"vxTM2Core.ctlStartscreen",
                    u"Welcome to Telvaro mobile 2",
                    u"Connect your phone to this PC, then choose what to do. Press F1 for help.",
                    {GoTo(u"Transfer data", u"vxTM2Core.ctlTransfer"),
                     GoTo(u"Settings", u"vxTM2Core.ctlSettings"),
                     GoTo(u"Check for updates", u"vxTM2Core.ctlUpdateCheck"),
                     GoTo(u"Connecting a phone", u"vxTM2Core.ctlPhoneHelp"), Exit()}},
      kStartscreenCommandDispId);
}

Ref<IObject> MakeServerStartscreen() {
  return MakeObject<StartPage>(
      ScreenContent{u"vxTM2Core.ctlServerStartscreen",
                    u"Telvaro mobile 2 - server mode",
                    u"This PC serves the phones of your organisation. Phones connect to it "
                    u"without further steps here.",
                    {GoTo(u"Settings", u"vxTM2Core.ctlSettings"), Exit()}},
      kServerStartscreenCommandDispId);
}

Ref<IObject> MakeTransfer() {
  ScreenContent content{u"vxTM2Core.ctlTransfer", u"Transfer", u"Press Start to transfer.", {}};
  content.buttons.push_back(
      {u"Start", [](ScreenBase& page) { static_cast<TransferPage&>(page).StartTransfer(); }});
  content.buttons.push_back(Back());
  return MakeObject<TransferPage>(std::move(content));
}

Ref<IObject> MakeSettings() {
  const CAppCore* core = ActiveCore();
  return MakeObject<Page>(
      ScreenContent{u"vxTM2Core.ctlSettings",
                    u"Settings",
                    core ? core->SettingsSummary() : u"",
                    {GoTo(u"Notes", u"vxTM2Core.ctlSettingsNotes"),
                     GoTo(u"E-mails", u"vxTM2Core.ctlSettingsEmails"), Back()}});
}

Ref<IObject> MakeSettingsNotes() {
  return MakeObject<Page>(ScreenContent{
      u"vxTM2Core.ctlSettingsNotes",
      u"Notes",
      u"Notes are transferred in both directions. A note changed on both sides is kept twice.",
      {GoTo(u"Back to settings", u"vxTM2Core.ctlSettings")}});
}

Ref<IObject> MakeSettingsEmails() {
  return MakeObject<Page>(ScreenContent{
      u"vxTM2Core.ctlSettingsEmails",
      u"E-mails",
      u"E-mails of the last 30 days are transferred to the phone; attachments stay on this PC.",
      {GoTo(u"Back to settings", u"vxTM2Core.ctlSettings")}});
}

Ref<IObject> MakeUpdateCheck() {
  ScreenContent content{u"vxTM2Core.ctlUpdateCheck",
                        u"Check for updates",
                        u"Find out whether a newer Telvaro mobile 2 is available.",
                        {}};
  content.buttons.push_back(
      {u"Check now", [](ScreenBase& page) { page.SetText(u"Telvaro mobile 2 is up to date."); }});
  content.buttons.push_back(Back());
  return MakeObject<Page>(std::move(content));
}

Ref<IObject> MakePhoneHelp() {
  return MakeObject<Page>(ScreenContent{
      u"vxTM2Core.ctlPhoneHelp",
      u"Connecting a phone",
      u"1. Connect the phone with its cable, or switch on Bluetooth on phone and PC.\r\n"
      u"2. Allow the connection on the phone when it asks.\r\n"
      u"3. Telvaro mobile 2 shows the phone's name in the status bar.",
      {Back()}});
}

}  // namespace vx::samplecore
