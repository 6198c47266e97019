// vxTM2BaseCtrl.dll through its entry points, as the component runtime uses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "contracts/Component.h"
#include "contracts/IControl.h"

namespace {

template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST(BaseCtrlLibrary, MakesItsControlsByClassNameInAnyCaseAndNamesTheOnesItLacks) {
  const HMODULE module = LoadLibraryW(L"vxTM2BaseCtrl.dll");
  ASSERT_TRUE(module);
  const auto create = Export<vx::CreateObjectFn>(module, vx::kCreateObjectExport);
  const auto live = Export<vx::LiveObjectsFn>(module, vx::kLiveObjectsExport);
  ASSERT_TRUE(create && live);
  for (const std::u16string_view name :
       {u"ctlStatusBar", u"ctlGripper", u"ctlProgressBar", u"ctlFlatLabel", u"CTLSTATUSBAR"}) {
    vx::IObject* object = nullptr;
    vx::Status status;
    create(name, &object, &status);
    ASSERT_TRUE(status.ok() && object) << std::string(name.begin(), name.end());
    void* control = nullptr;
    EXPECT_TRUE(object->QueryInterface(vx::IControl::kIid, &control).ok());
    EXPECT_EQ(live(), 1);
    static_cast<vx::IControl*>(control)->Release();
    object->Release();
    EXPECT_EQ(live(), 0);
  }
  for (const std::u16string_view name : {u"ctlFieldSelector", u"ctlMultiField", u"ctlRadioFrame",
                                         u"ctlInfotext", u"ctlComboSelector", u"ctlNoSuchThing"}) {
    vx::IObject* object = reinterpret_cast<vx::IObject*>(1);
    vx::Status status;
    create(name, &object, &status);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(status.error.number, vx::kErrCannotCreate);
    EXPECT_EQ(status.error.source, u"vxTM2BaseCtrl");
    EXPECT_NE(status.error.description.find(u"vxTM2BaseCtrl." + std::u16string(name)),
              std::u16string::npos)
        << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(live(), 0);
  FreeLibrary(module);
}

}  // namespace
