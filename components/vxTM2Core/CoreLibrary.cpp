// The entry points of the sample vxTM2Core.dll: its class table.
#include "CAppCore.h"
#include "CSettingsStore.h"
#include "Screens.h"
#include "common/ComponentExports.h"

namespace {

template <class T>
vx::Ref<vx::IObject> Make() {
  return vx::MakeObject<T>()->AsObject();
}

const vx::controlkit::ClassEntry kClasses[] = {
    {u"CSettingsStore", &Make<vx::samplecore::CSettingsStore>},
    {u"CAppCore", &Make<vx::samplecore::CAppCore>},
    {u"ctlStartscreen", &vx::samplecore::MakeStartscreen},
    {u"ctlServerStartscreen", &vx::samplecore::MakeServerStartscreen},
    {u"ctlTransfer", &vx::samplecore::MakeTransfer},
    {u"ctlSettings", &vx::samplecore::MakeSettings},
    {u"ctlSettingsNotes", &vx::samplecore::MakeSettingsNotes},
    {u"ctlSettingsEmails", &vx::samplecore::MakeSettingsEmails},
    {u"ctlUpdateCheck", &vx::samplecore::MakeUpdateCheck},
    {u"ctlPhoneHelp", &vx::samplecore::MakePhoneHelp},
};

}  // namespace

VX_COMPONENT_ENTRY_POINTS(u"vxTM2Core", kClasses)
