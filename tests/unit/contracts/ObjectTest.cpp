#include <gtest/gtest.h>

#include "contracts/CallByName.h"
#include "contracts/IProject.h"
#include "contracts/ObjectImpl.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorNumberOf;

class Probe : public vx::ObjectImpl<vx::IProject> {
 public:
  Probe() {
    AddMember(7, u"Terminate", [this](std::span<const vx::Value>) {
      ++terminated;
      return vx::Value();
    });
    AddMember(0x60030002, u"Command", [this](std::span<const vx::Value> args) {
      last = vx::ArgAt(args, 0).As<std::u16string>();
      return vx::Value(int32_t{1});
    });
  }
  vx::Status Log(std::u16string_view, std::u16string_view) noexcept override { return {}; }
  vx::Status Checkpoint() noexcept override { return {}; }
  vx::Status GetText(std::u16string_view, std::u16string*) noexcept override { return {}; }
  vx::Status ShowHelp() noexcept override { return {}; }

  int terminated = 0;
  std::u16string last;
};

TEST(ObjectModel, CountsFollowReferencesAndLiveObjectsReturnToZero) {
  const int32_t before = vx::gLiveObjects;
  {
    vx::Ref<Probe> probe = vx::MakeObject<Probe>();
    EXPECT_EQ(vx::gLiveObjects, before + 1);
    vx::Ref<vx::IObject> asObject = probe;
    vx::Ref<vx::IProject> asProject = vx::QueryAs<vx::IProject>(asObject);
    EXPECT_EQ(probe->AddRef(), 4u);
    probe->Release();
  }
  EXPECT_EQ(vx::gLiveObjects, before);
}

struct IOther : vx::IObject {
  static constexpr vx::InterfaceId kIid = "test.IOther";
};

TEST(ObjectModel, QueryForMissingInterfaceIsTypeMismatch) {
  vx::Ref<vx::IObject> probe = vx::MakeObject<Probe>();
  EXPECT_EQ(ErrorNumberOf([&] { vx::QueryAs<IOther>(probe); }), vx::kErrTypeMismatch);
}

TEST(ObjectModel, LateBoundCallsByNameIgnoreCaseAndById) {
  vx::Ref<Probe> probe = vx::MakeObject<Probe>();
  vx::Ref<vx::IObject> target = probe;
  vx::CallByName(target, u"terminate");
  EXPECT_EQ(probe->terminated, 1);
  EXPECT_EQ(vx::CallById(target, 0x60030002, {u"exit"}).As<int32_t>(), 1);
  EXPECT_EQ(probe->last, u"exit");
  EXPECT_EQ(ErrorNumberOf([&] { vx::CallById(target, 0x60030002); }), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { vx::CallByName(target, u"Moved"); }), vx::kErrNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([] { vx::CallByName(vx::Ref<vx::IObject>(), u"Terminate"); }),
            vx::kErrObjectNotSet);
}

}  // namespace
