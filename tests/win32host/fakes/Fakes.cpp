#include "fakes/Fakes.h"

#include "common/ControlBase.h"
#include "common/LateBound.h"
#include "contracts/IAppCore.h"
#include "contracts/IProject.h"
#include "contracts/ISettingsStore.h"
#include "contracts/ObjectImpl.h"
#include "contracts/Text.h"

namespace vx::fakes {
namespace {

// Records the call, then fails it if the test asked for that, else runs the body.
template <class Body = decltype([] {})>
Status Answer(std::string_view name, std::string_view details = {}, Body&& body = {}) {
  Fakes& fakes = TheFakes();
  std::string call(name);
  if (!details.empty()) call += " " + std::string(details);
  if (fakes.onCall) fakes.onCall(call);
  fakes.calls.push_back(std::move(call));
  if (const auto failure = fakes.failures.find(name); failure != fakes.failures.end()) {
    return Status::Failed(failure->second);
  }
  return Guard(std::forward<Body>(body));
}

class FakeSettingsStore : public ObjectImpl<ISettingsStore> {
 public:
  Status Init(std::u16string_view name) noexcept override {
    return Answer("Settings.Init", ToUtf8(name));
  }
  Status SetValue(std::u16string_view key, std::u16string_view value) noexcept override {
    return Answer("Settings.SetValue", ToUtf8(key) + "=" + ToUtf8(value));
  }
};

class FakeProject : public ObjectImpl<IProject> {
 public:
  Status Log(std::u16string_view category, std::u16string_view message) noexcept override {
    return Answer("Project.Log", ToUtf8(category) + ": " + ToUtf8(message));
  }
  Status Checkpoint() noexcept override { return Answer("Project.Checkpoint"); }
  Status GetText(std::u16string_view key, std::u16string* text) noexcept override {
    return Answer("Project.GetText", ToUtf8(key),
                  [&] { *text = u"text of " + std::u16string(key); });
  }
  Status ShowHelp() noexcept override { return Answer("Project.ShowHelp"); }
};

class FakeCore : public ObjectImpl<IAppCore, IAppServices> {
 public:
  Status Init(IGui* gui, ISettingsStore* settings, intptr_t instance,
              VxBool* ok) noexcept override {
    const std::string given = std::string(settings ? "settings" : "no settings") +
                              (instance ? ", instance" : ", no instance");
    return Answer("Core.Init", given, [&] { *ok = ToVxBool(TheFakes().init(*gui)); });
  }
  Status Activate() noexcept override {
    return Answer("Core.Activate", {}, [] { TheFakes().activate(); });
  }
  Status ActivateServer() noexcept override {
    return Answer("Core.ActivateServer", {}, [] { TheFakes().activate(); });
  }
  Status QueryClose(VxBool* cancel, int16_t unloadMode) noexcept override {
    const std::string given =
        "cancel=" + std::to_string(*cancel != 0) + " mode=" + std::to_string(unloadMode);
    return Answer("Core.QueryClose", given,
                  [&] { *cancel = ToVxBool(TheFakes().queryClose(*cancel != 0)); });
  }
  Status Shutdown() noexcept override { return Answer("Core.Shutdown"); }
  Status GetProject(Ref<IProject>* project) noexcept override {
    return Answer("Core.GetProject", {}, [&] { *project = project_; });
  }

 private:
  Ref<IProject> project_ = MakeObject<FakeProject>();
};

class FakeScreen : public controlkit::ControlBase {
 public:
  explicit FakeScreen(std::u16string_view className)
      : ControlBase(u"vxTM2Core." + std::u16string(className)), name_(ToUtf8(className)) {
    AddMember(1, u"Terminate", [this](std::span<const Value>) {
      Check(Answer("Screen.Terminate", name_));
      return Value();
    });
    // The start screens' command members, reached by dispatch identifier.
    const int32_t command = className == u"ctlStartscreen"         ? 0x60030002
                            : className == u"ctlServerStartscreen" ? 0x60030011
                                                                   : 0;
    if (command) {
      AddMember(command, u"Command", [this](std::span<const Value> args) {
        Check(Answer("Screen.Command", name_ + " " + ToUtf8(controlkit::ArgText(args, 0))));
        return Value();
      });
    }
  }

 private:
  std::string name_;
};

}  // namespace

std::vector<std::string> Fakes::CallsOf(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) found.push_back(call.substr(prefix.size()));
  }
  return found;
}

Fakes& TheFakes() {
  static Fakes fakes;
  return fakes;
}

void Reset() {
  TheFakes() = Fakes();
}

}  // namespace vx::fakes

extern "C" __declspec(dllexport) void vxCreateFake(std::u16string_view className,
                                                   vx::IObject** object,
                                                   vx::Status* status) noexcept {
  using namespace vx;
  using namespace vx::fakes;
  *object = nullptr;
  *status = Answer("Create", ToUtf8(className), [&] {
    if (className == u"CAppCore") {
      *object = MakeObject<FakeCore>()->AsObject().Detach();
    } else if (className == u"CSettingsStore") {
      *object = MakeObject<FakeSettingsStore>()->AsObject().Detach();
    } else if (className.starts_with(u"ctl") && className != u"ctlNoSuchScreen") {
      *object = MakeObject<FakeScreen>(className)->AsObject().Detach();
    } else {
      Raise(kErrCannotCreate, u"vxTM2Core", u"no class " + std::u16string(className));
    }
  });
}
