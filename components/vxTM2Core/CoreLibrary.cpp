// The entry points of the sample vxTM2Core.dll: its class table.
#include "CAppCore.h"
#include "CSettingsStore.h"
#include "Screens.h"
#include "common/ComponentExports.h"
#include "contracts/ClassNames.h"

namespace {

template <class T>
vx::Ref<vx::IObject> Make() {
  return vx::MakeObject<T>()->AsObject();
}

using vx::ClassPart;
namespace classes = vx::classes;

const vx::controlkit::ClassEntry kClasses[] = {
    {ClassPart(vx::ISettingsStore::kClassName), &Make<vx::samplecore::CSettingsStore>},
    {ClassPart(vx::IAppCore::kClassName), &Make<vx::samplecore::CAppCore>},
    {ClassPart(classes::kStartscreen), &vx::samplecore::MakeStartscreen},
    {ClassPart(classes::kServerStartscreen), &vx::samplecore::MakeServerStartscreen},
    {ClassPart(classes::kTransfer), &vx::samplecore::MakeTransfer},
    {ClassPart(classes::kSettings), &vx::samplecore::MakeSettings},
    {ClassPart(classes::kSettingsNotes), &vx::samplecore::MakeSettingsNotes},
    {ClassPart(classes::kSettingsEmails), &vx::samplecore::MakeSettingsEmails},
    {ClassPart(classes::kUpdateCheck), &vx::samplecore::MakeUpdateCheck},
    {ClassPart(classes::kPhoneHelp), &vx::samplecore::MakePhoneHelp},
};

}  // namespace

VX_COMPONENT_ENTRY_POINTS(u"vxTM2Core", kClasses)
