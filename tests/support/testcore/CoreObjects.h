// The test core's objects: each member records its call and runs the scenario's actions for it.
#pragma once

#include <string>

#include "common/ControlBase.h"
#include "contracts/IAppCore.h"
#include "contracts/IProject.h"
#include "contracts/ISettingsStore.h"
#include "contracts/ObjectImpl.h"

namespace vx::testcore {

class CSettingsStore : public ObjectImpl<ISettingsStore> {
 public:
  Status SetValue(std::u16string_view key, std::u16string_view value) noexcept override;
  Status Init(std::u16string_view name) noexcept override;
};

class CProject : public ObjectImpl<IProject> {
 public:
  Status Log(std::u16string_view category, std::u16string_view message) noexcept override;
  Status Checkpoint() noexcept override;
  Status GetText(std::u16string_view key, std::u16string* text) noexcept override;
  Status ShowHelp() noexcept override;
};

class CAppCore : public ObjectImpl<IAppCore, IAppServices> {
 public:
  CAppCore();
  ~CAppCore() override;

  Status Init(IGui* gui, ISettingsStore* settings, intptr_t instance, VxBool* ok) noexcept override;
  Status Activate() noexcept override;
  Status ActivateServer() noexcept override;
  Status QueryClose(VxBool* cancel, int16_t unloadMode) noexcept override;
  Status Shutdown() noexcept override;
  Status GetProject(Ref<IProject>* project) noexcept override;

 private:
  Ref<IProject> project_;
};

// A screen: a window that fills its place and shows its class name, with Terminate by name and,
// for the start screens, the command member.
class TestScreen : public controlkit::ControlBase {
 public:
  // name: the class name without the library ("ctlStartscreen").
  explicit TestScreen(std::u16string_view name);
  ~TestScreen() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string Tag() const { return tag_; }

  std::u16string label_;
  std::string tag_;  // ctlStartscreen#1
};

}  // namespace vx::testcore
