// vxTM2BaseCtrl.dll through its entry points, as the component runtime uses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "contracts/Component.h"
#include "contracts/IControl.h"

namespace {

class Library {
 public:
  Library() : module_(LoadLibraryW(L"vxTM2BaseCtrl.dll")) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  bool loaded() const { return module_ != nullptr; }
  vx::CreateObjectFn create() const {
    return reinterpret_cast<vx::CreateObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, vx::kCreateObjectExport)));
  }
  vx::LiveObjectsFn live() const {
    return reinterpret_cast<vx::LiveObjectsFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, vx::kLiveObjectsExport)));
  }

 private:
  HMODULE module_;
};

TEST(BaseCtrlLibrary, MakesItsControlsByClassNameWithoutRegardToCase) {
  Library library;
  ASSERT_TRUE(library.loaded());
  ASSERT_TRUE(library.create());
  ASSERT_TRUE(library.live());
  EXPECT_EQ(library.live()(), 0);
  for (const std::u16string_view name :
       {u"ctlStatusBar", u"ctlGripper", u"ctlProgressBar", u"ctlFlatLabel", u"CTLSTATUSBAR"}) {
    vx::IObject* object = nullptr;
    vx::Status status;
    library.create()(name, &object, &status);
    ASSERT_TRUE(status.ok()) << std::string(name.begin(), name.end());
    ASSERT_NE(object, nullptr);
    void* control = nullptr;
    EXPECT_TRUE(object->QueryInterface(vx::IControl::kIid, &control).ok());
    EXPECT_EQ(library.live()(), 1);
    static_cast<vx::IControl*>(control)->Release();
    object->Release();
    EXPECT_EQ(library.live()(), 0);
  }
}

TEST(BaseCtrlLibrary, ClassesItDoesNotProvideAreError429NamingTheClass) {
  Library library;
  ASSERT_TRUE(library.create());
  for (const std::u16string_view name : {u"ctlFieldSelector", u"ctlMultiField", u"ctlRadioFrame",
                                         u"ctlInfotext", u"ctlComboSelector", u"ctlNoSuchThing"}) {
    vx::IObject* object = reinterpret_cast<vx::IObject*>(1);
    vx::Status status;
    library.create()(name, &object, &status);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(status.error.number, vx::kErrCannotCreate);
    EXPECT_EQ(status.error.source, u"vxTM2BaseCtrl");
    const std::u16string qualified = u"vxTM2BaseCtrl." + std::u16string(name);
    EXPECT_NE(status.error.description.find(qualified), std::u16string::npos)
        << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(library.live()(), 0);
}

}  // namespace
