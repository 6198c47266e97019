// The pages of the sample core, by the class names the host creates them with.
#pragma once

#include "contracts/Object.h"

namespace vx::samplecore {

Ref<IObject> MakeStartscreen();
Ref<IObject> MakeServerStartscreen();
Ref<IObject> MakeTransfer();
Ref<IObject> MakeSettings();
Ref<IObject> MakeSettingsNotes();
Ref<IObject> MakeSettingsEmails();
Ref<IObject> MakeUpdateCheck();
Ref<IObject> MakePhoneHelp();

}  // namespace vx::samplecore
