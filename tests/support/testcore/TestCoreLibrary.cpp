// The entry points of the test core's vxTM2Core.dll.
#include "common/ComponentExports.h"
#include "support/TestCore.h"
#include "testcore/CoreObjects.h"
#include "testcore/Recorder.h"
#include "testcore/ScenarioRunner.h"

namespace {

using vx::testcore::ScenarioRunner;

template <class T>
vx::Ref<vx::IObject> Make() {
  return vx::Ref<vx::IObject>(vx::MakeObject<T>());
}

vx::Ref<vx::IObject> MakeCore() {
  vx::Ref<vx::testcore::CAppCore> core = vx::MakeObject<vx::testcore::CAppCore>();
  return vx::Ref<vx::IObject>(vx::Ref<vx::IAppCore>(core));
}

template <const char16_t* kName>
vx::Ref<vx::IObject> MakeScreen() {
  vx::Ref<vx::IObject> screen(vx::MakeObject<vx::testcore::TestScreen>(kName));
  // The screen's own start-up: the scenario may make it fail.
  vx::Check(ScenarioRunner::Instance().Fire("Create").AsStatus());
  return screen;
}

constexpr char16_t kStartscreen[] = u"ctlStartscreen";
constexpr char16_t kServerStartscreen[] = u"ctlServerStartscreen";
constexpr char16_t kTransfer[] = u"ctlTransfer";
constexpr char16_t kSettings[] = u"ctlSettings";
constexpr char16_t kUpdateCheck[] = u"ctlUpdateCheck";
constexpr char16_t kPhoneHelp[] = u"ctlPhoneHelp";
constexpr char16_t kSettingsNotes[] = u"ctlSettingsNotes";
constexpr char16_t kSettingsEmails[] = u"ctlSettingsEmails";

const vx::controlkit::ClassEntry kClasses[] = {
    {u"CSettingsStore", &Make<vx::testcore::CSettingsStore>},
    {u"CAppCore", &MakeCore},
    {kStartscreen, &MakeScreen<kStartscreen>},
    {kServerStartscreen, &MakeScreen<kServerStartscreen>},
    {kTransfer, &MakeScreen<kTransfer>},
    {kSettings, &MakeScreen<kSettings>},
    {kUpdateCheck, &MakeScreen<kUpdateCheck>},
    {kPhoneHelp, &MakeScreen<kPhoneHelp>},
    {kSettingsNotes, &MakeScreen<kSettingsNotes>},
    {kSettingsEmails, &MakeScreen<kSettingsEmails>},
};

}  // namespace

extern "C" __declspec(dllexport) void vxCreateObject(std::u16string_view className,
                                                     vx::IObject** object,
                                                     vx::Status* status) noexcept {
  if (ScenarioRunner::Instance().scenario().IsMissing(className)) {
    *object = nullptr;
    *status = vx::Guard([&] {
      vx::Raise(vx::kErrCannotCreate, vx::testcore::kLibraryName,
                u"ActiveX component can't create object: the class vxTM2Core." +
                    std::u16string(className) + u" is missing (scenario)");
    });
    return;
  }
  vx::controlkit::CreateFromTable(vx::testcore::kLibraryName, kClasses, className, object, status);
}

extern "C" __declspec(dllexport) int32_t vxLiveObjects() noexcept {
  return vx::gLiveObjects;
}
