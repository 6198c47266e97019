// A core library (vxTM2Core.dll) that does the least a core must for the host to start: it
// answers Init, shows the start screen on Activate, and closes the main window when that screen
// first paints, so that the program ends from its message loop where the bare window program of
// scripts/bench-startup ends.
#include <windows.h>

#include "common/ComponentExports.h"
#include "common/ControlBase.h"
#include "contracts/IAppCore.h"
#include "contracts/IGui.h"
#include "contracts/IProject.h"
#include "contracts/ISettingsStore.h"

namespace {

using vx::Status;

class SettingsStore : public vx::ObjectImpl<vx::ISettingsStore> {
 public:
  Status SetValue(std::u16string_view, std::u16string_view) noexcept override { return {}; }
  Status Init(std::u16string_view) noexcept override { return {}; }
};

class Project : public vx::ObjectImpl<vx::IProject> {
 public:
  Status Log(std::u16string_view, std::u16string_view) noexcept override { return {}; }
  Status Checkpoint() noexcept override { return {}; }
  Status GetText(std::u16string_view, std::u16string* text) noexcept override {
    text->clear();
    return {};
  }
  Status ShowHelp() noexcept override { return {}; }
};

class AppCore : public vx::ObjectImpl<vx::IAppCore, vx::IAppServices> {
 public:
  Status Init(vx::IGui* gui, vx::ISettingsStore*, intptr_t, vx::VxBool* ok) noexcept override {
    gui_ = vx::Ref<vx::IGui>::Share(gui);
    *ok = vx::kVxTrue;
    return {};
  }
  Status Activate() noexcept override {
    vx::Ref<vx::IObject> screen;
    return gui_->SetControl(u"vxTM2Core.ctlStartscreen", &screen);
  }
  Status ActivateServer() noexcept override { return Activate(); }
  Status QueryClose(vx::VxBool*, int16_t) noexcept override { return {}; }
  Status Shutdown() noexcept override {
    gui_.Reset();
    return {};
  }
  Status GetProject(vx::Ref<vx::IProject>* project) noexcept override {
    *project = project_;
    return {};
  }

 private:
  vx::Ref<vx::IGui> gui_;
  vx::Ref<vx::IProject> project_ = vx::MakeObject<Project>();
};

// The host tells a start screen that the window closes through its Command member, and every
// screen that it goes through Terminate.
constexpr int32_t kStartscreenCommand = 0x60030002;
constexpr int32_t kServerStartscreenCommand = 0x60030011;

template <int32_t kCommand>
class StartScreen : public vx::controlkit::ControlBase {
 public:
  StartScreen() : ControlBase(u"vxBenchStartscreen") {
    AddMember(kCommand, u"Command", [](std::span<const vx::Value>) { return vx::Value(); });
    AddMember(1, u"Terminate", [](std::span<const vx::Value>) { return vx::Value(); });
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT && !closed_) {
      closed_ = true;
      PostMessageW(GetAncestor(Handle(), GA_ROOT), WM_CLOSE, 0, 0);
    }
    return DefaultHandling(message, wParam, lParam);
  }

 private:
  bool closed_ = false;
};

template <class T>
vx::Ref<vx::IObject> Make() {
  return vx::Ref<vx::IObject>(vx::MakeObject<T>());
}

vx::Ref<vx::IObject> MakeCore() {
  return vx::Ref<vx::IObject>(vx::Ref<vx::IAppCore>(vx::MakeObject<AppCore>()));
}

const vx::controlkit::ClassEntry kClasses[] = {
    {u"CSettingsStore", &Make<SettingsStore>},
    {u"CAppCore", &MakeCore},
    {u"ctlStartscreen", &Make<StartScreen<kStartscreenCommand>>},
    {u"ctlServerStartscreen", &Make<StartScreen<kServerStartscreenCommand>>},
};

}  // namespace

VX_COMPONENT_ENTRY_POINTS(u"vxTM2Core", kClasses)
