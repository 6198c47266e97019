// The entry points of vxTM2BaseCtrl.dll: its class table.
#include "common/ComponentExports.h"
#include "contracts/ClassNames.h"
#include "ctlFlatLabel.h"
#include "ctlGripper.h"
#include "ctlProgressBar.h"
#include "ctlStatusBar.h"

namespace {

constexpr std::u16string_view kLibrary = u"vxTM2BaseCtrl";

template <class Control>
vx::Ref<vx::IObject> Make() {
  return vx::MakeObject<Control>();
}

// Controls the host's table names that this library does not provide.
template <const char16_t* kName>
vx::Ref<vx::IObject> NotAvailable() {
  vx::controlkit::RaiseNotAvailable(kLibrary, kName);
}

constexpr char16_t kFieldSelector[] = u"ctlFieldSelector";
constexpr char16_t kMultiField[] = u"ctlMultiField";
constexpr char16_t kRadioFrame[] = u"ctlRadioFrame";
constexpr char16_t kInfotext[] = u"ctlInfotext";
constexpr char16_t kComboSelector[] = u"ctlComboSelector";

const vx::controlkit::ClassEntry kClasses[] = {
    {vx::ClassPart(vx::classes::kStatusBar), &Make<vx::basectrl::ctlStatusBar>},
    {vx::ClassPart(vx::classes::kGripper), &Make<vx::basectrl::ctlGripper>},
    {vx::ClassPart(vx::classes::kProgressBar), &Make<vx::basectrl::ctlProgressBar>},
    {vx::ClassPart(vx::classes::kFlatLabel), &Make<vx::basectrl::ctlFlatLabel>},
    {kFieldSelector, &NotAvailable<kFieldSelector>},
    {kMultiField, &NotAvailable<kMultiField>},
    {kRadioFrame, &NotAvailable<kRadioFrame>},
    {kInfotext, &NotAvailable<kInfotext>},
    {kComboSelector, &NotAvailable<kComboSelector>},
};

}  // namespace

VX_COMPONENT_ENTRY_POINTS(kLibrary, kClasses)
